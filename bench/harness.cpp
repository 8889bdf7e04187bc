// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the quiz against a bare Qt Widgets program on a real X server: start-up to
// the first window mapped, resident memory once it is shown, the title screen's timed
// hand-over and the six button hand-overs, pressed with XTest like a user would.
#include "child.h"
#include "report.h"
#include "x_session.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace bench {

namespace {

constexpr int TwipsPerPixel = 15;

// Left, Top, Width, Height in twips, as the screens are designed.
struct Place {
    int left;
    int top;
    int width;
    int height;
};

struct ClientArea {
    int width;
    int height;

    [[nodiscard]] Size pixels() const { return {width / TwipsPerPixel, height / TwipsPerPixel}; }
};

constexpr ClientArea TitleScreen{10125, 7230};
constexpr ClientArea Instructions{10035, 7110};
constexpr std::string_view Caption = "Ссылки в Excel";

// The button pressed on each screen and the screen it hands over to. The buttons'
// places are the design's; the windows are told apart by the order they map in and
// checked by their size.
struct HandOver {
    const char *name;
    Place button;
    ClientArea next;
};

constexpr std::array<HandOver, 6> HandOvers{{
    {"Form6 \"Начать тест\" → Form2", {2160, 6480, 5775, 495}, {10320, 7380}},
    {"Form2 \"Ввод\" → Form7", {6600, 6240, 2775, 735}, {10395, 7350}},
    {"Form7 \"Ввод\" → Form3", {7080, 6240, 2535, 735}, {10110, 7470}},
    {"Form3 \"Ввод\" → Form8", {6960, 6120, 2895, 615}, {10515, 7560}},
    {"Form8 \"Ввод\" → Form4", {7080, 6360, 2535, 735}, {9990, 7110}},
    {"Form4 \"Ввод\" → Form5", {7200, 6120, 2415, 615}, {10245, 7290}},
}};

constexpr double StartUpRatio = 1.10;
constexpr double MemoryRatio = 1.15;
constexpr double FrameMs = 16;
constexpr double TitleFromMs = 2000;
constexpr double TitleToMs = 2050;

struct Options {
    std::string quiz;
    std::string bare;
    std::string markdown;
    std::string log = "bench.log";
    int runs = 30;
    // How long a "user" waits after a window appears before acting on it; never measured.
    std::chrono::milliseconds settle = 250ms;
};

struct Samples {
    std::vector<double> quizStart, bareStart;
    std::vector<double> quizFrame, bareFrame;
    std::vector<double> quizCpu, bareCpu;
    std::vector<double> quizRss, bareRss, quizPeak, barePeak;
    std::vector<double> quizPeakAtEnd;
    std::vector<double> title;
    std::array<std::vector<double>, HandOvers.size()> handOvers;
};

[[nodiscard]] double ms(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

[[noreturn]] void fail(const std::string &what)
{
    throw std::runtime_error(what);
}

Mapped awaitMap(XSession &x, Clock::time_point since, const char *what)
{
    const auto mapped = x.nextMap(since + 10s);
    if (!mapped)
        fail(std::string("no window mapped for ") + what);
    return *mapped;
}

// Makes sure the window is the one expected: the measured program's, of the right size.
void check(XSession &x, const Child &child, const Mapped &mapped, Size size, const char *what)
{
    if (x.pidOf(mapped.window) != child.pid())
        fail(std::string("the window mapped for ") + what + " is not the measured program's");
    const Size actual = x.sizeOf(mapped.window);
    if (actual != size)
        fail(std::string("the window mapped for ") + what + " is " + std::to_string(actual.width)
             + " x " + std::to_string(actual.height) + ", not " + std::to_string(size.width) + " x "
             + std::to_string(size.height));
}

Mapped expectMap(XSession &x, const Child &child, Clock::time_point since, Size size,
                 const char *what)
{
    const Mapped mapped = awaitMap(x, since, what);
    check(x, child, mapped, size, what);
    return mapped;
}

struct StartUp {
    Mapped first;
    double cpuMs;
    Clock::time_point drawn;
};

// Times the program from its start to its first window mapped, and to that window's
// first frame.
StartUp startUp(XSession &x, const Child &child, Clock::time_point started)
{
    const Mapped first = awaitMap(x, started, "the first window");
    const double cpuMs = child.cpuMs();
    check(x, child, first, TitleScreen.pixels(), "the first window");
    const auto drawn = x.firstDrawn(first.window, first.at + 10s);
    if (!drawn)
        fail("the first window was never drawn");
    if (x.caption(first.window) != Caption)
        fail("the first window's caption is \"" + x.caption(first.window) + "\"");
    return {first, cpuMs, *drawn};
}

void endRun(XSession &x, Child &child, Window last, const char *program)
{
    x.requestClose(last);
    const auto status = child.waitExit(5s);
    if (!status)
        fail(std::string(program) + " did not end when its window was closed");
    if (*status != 0)
        fail(std::string(program) + " ended with status " + std::to_string(*status));
    x.forgetWindows();
}

void parkPointer(XSession &x)
{
    const Size screen = x.screenSize();
    x.pointAtScreen(screen.width - 1, screen.height - 1);
}

void runQuiz(XSession &x, const Options &options, Samples *samples)
{
    parkPointer(x);
    x.forgetWindows();
    const auto started = Clock::now();
    Child child(options.quiz, options.log);
    const StartUp start = startUp(x, child, started);
    const Mapped &title = start.first;

    x.idleUntil(title.at + options.settle);
    const Memory shown = child.memory();

    const Mapped instructions =
        expectMap(x, child, title.at, Instructions.pixels(), "the instructions");

    Mapped current = instructions;
    std::array<double, HandOvers.size()> latencies{};
    for (std::size_t step = 0; step < HandOvers.size(); ++step) {
        const HandOver &handOver = HandOvers.at(step);
        x.idleUntil(current.at + options.settle);
        const Place &button = handOver.button;
        x.pointAt(current.window, (button.left + button.width / 2) / TwipsPerPixel,
                  (button.top + button.height / 2) / TwipsPerPixel);
        x.idleUntil(Clock::now() + options.settle / 4);
        const auto pressed = x.click();
        current = expectMap(x, child, pressed, handOver.next.pixels(), handOver.name);
        latencies.at(step) = ms(current.at - pressed);
    }
    x.idleUntil(current.at + options.settle);
    const Memory atEnd = child.memory();
    endRun(x, child, current.window, "refs-quiz");

    if (samples) {
        samples->quizStart.push_back(ms(title.at - started));
        samples->quizFrame.push_back(ms(start.drawn - started));
        samples->quizCpu.push_back(start.cpuMs);
        samples->quizRss.push_back(shown.rssKiB / 1024);
        samples->quizPeak.push_back(shown.peakKiB / 1024);
        samples->quizPeakAtEnd.push_back(atEnd.peakKiB / 1024);
        samples->title.push_back(ms(instructions.at - title.at));
        for (std::size_t step = 0; step < HandOvers.size(); ++step)
            samples->handOvers.at(step).push_back(latencies.at(step));
    }
}

void runBare(XSession &x, const Options &options, Samples *samples)
{
    parkPointer(x);
    x.forgetWindows();
    const auto started = Clock::now();
    Child child(options.bare, options.log);
    const StartUp start = startUp(x, child, started);
    const Mapped &window = start.first;

    x.idleUntil(window.at + options.settle);
    const Memory shown = child.memory();
    endRun(x, child, window.window, "the bare program");

    if (samples) {
        samples->bareStart.push_back(ms(window.at - started));
        samples->bareFrame.push_back(ms(start.drawn - started));
        samples->bareCpu.push_back(start.cpuMs);
        samples->bareRss.push_back(shown.rssKiB / 1024);
        samples->barePeak.push_back(shown.peakKiB / 1024);
    }
}

std::string firstLineWith(const std::string &path, const std::string &key)
{
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with(key)) {
            const auto colon = line.find(':');
            const auto value = line.find_first_not_of(" \t", colon + 1);
            return value == std::string::npos ? std::string() : line.substr(value);
        }
    }
    return {};
}

// The one-minute load average: other work on the machine shows in the wall-clock figures.
std::string loadAverage()
{
    std::ifstream loadavg("/proc/loadavg");
    std::string oneMinute;
    loadavg >> oneMinute;
    return oneMinute;
}

std::string machine(const XSession &x, const std::string &loadBefore)
{
    std::string cpu = firstLineWith("/proc/cpuinfo", "model name");
    const double memoryGiB =
        std::atof(firstLineWith("/proc/meminfo", "MemTotal").c_str()) / 1024 / 1024;
    char memory[32];
    std::snprintf(memory, sizeof memory, "%.0f GiB", memoryGiB);
    std::ifstream debianVersion("/etc/debian_version");
    std::string debian;
    std::getline(debianVersion, debian);
    utsname system{};
    uname(&system);
    const Size screen = x.screenSize();
    return (cpu.empty() ? std::string("unknown CPU") : cpu) + ", "
        + std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " cores, " + memory + ", Debian " + debian
        + ", Linux " + system.release + ", Qt " + REFS_QUIZ_BENCH_QT_VERSION + " ("
        + REFS_QUIZ_BENCH_BUILD_TYPE + "), Xvfb " + std::to_string(screen.width) + "x"
        + std::to_string(screen.height) + "x" + std::to_string(x.screenDepth())
        + " with no window manager; load average " + loadBefore + " before, " + loadAverage()
        + " after";
}

Report report(const Samples &samples, const std::string &machineText, int runs)
{
    Report result;
    result.machine = machineText;
    result.runs = runs;
    const auto row = [&result](std::string measure, std::string unit,
                               const std::vector<double> &quiz) -> Row & {
        Row &added = result.rows.emplace_back();
        added.measure = std::move(measure);
        added.unit = std::move(unit);
        added.quiz = summarise(quiz);
        return added;
    };
    const auto againstBare = [&row](std::string measure, std::string unit,
                                    const std::vector<double> &quiz,
                                    const std::vector<double> &bare, double limit) {
        Row &added = row(std::move(measure), std::move(unit), quiz);
        added.bare = summarise(bare);
        char target[32];
        std::snprintf(target, sizeof target, "≤ %.2f × bare", limit);
        added.target = target;
        added.met = *added.ratio() <= limit;
    };

    againstBare("start-up: exec → first window mapped", "ms", samples.quizStart, samples.bareStart,
                StartUpRatio);
    Row &cpu = row("processor time to the first window mapped", "ms", samples.quizCpu);
    cpu.bare = summarise(samples.bareCpu);
    Row &frame = row("first frame: exec → first window drawn", "ms", samples.quizFrame);
    frame.bare = summarise(samples.bareFrame);
    againstBare("VmRSS, first window shown", "MiB", samples.quizRss, samples.bareRss, MemoryRatio);
    againstBare("VmHWM, first window shown", "MiB", samples.quizPeak, samples.barePeak,
                MemoryRatio);

    Row &title = row("title timer: Form1 mapped → Form6 mapped", "ms", samples.title);
    title.target = "2000–2050 ms";
    title.met = title.quiz.median >= TitleFromMs && title.quiz.median <= TitleToMs;

    for (std::size_t step = 0; step < HandOvers.size(); ++step) {
        Row &handOver = row(std::string("press ") + HandOvers.at(step).name + " mapped", "ms",
                            samples.handOvers.at(step));
        handOver.target = "< 16 ms";
        handOver.met = handOver.quiz.median < FrameMs;
    }
    againstBare("VmHWM at the end of the quiz (Form5 shown)", "MiB", samples.quizPeakAtEnd,
                samples.barePeak, MemoryRatio);
    return result;
}

Options parse(int argc, char *argv[])
{
    Options options;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        const auto value = [&]() -> std::string {
            if (index + 1 >= argc)
                fail(argument + " needs a value");
            return argv[++index];
        };
        if (argument == "--quiz")
            options.quiz = value();
        else if (argument == "--bare")
            options.bare = value();
        else if (argument == "--runs")
            options.runs = std::stoi(value());
        else if (argument == "--markdown")
            options.markdown = value();
        else if (argument == "--log")
            options.log = value();
        else if (argument == "--settle-ms")
            options.settle = std::chrono::milliseconds(std::stoi(value()));
        else
            fail("unknown argument " + argument);
    }
    if (options.quiz.empty() || options.bare.empty())
        fail("usage: refs-quiz-bench --quiz PROGRAM --bare PROGRAM [--runs N] "
             "[--markdown FILE] [--log FILE] [--settle-ms MS]");
    if (options.runs < 1)
        fail("--runs must be at least 1");
    return options;
}

}  // namespace

}  // namespace bench

int main(int argc, char *argv[])
{
    using namespace bench;
    try {
        const Options options = parse(argc, argv);
        // Both programs get the same platform, whatever the caller's environment says.
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        XSession x;
        const std::string loadBefore = loadAverage();
        if (std::atof(loadBefore.c_str()) > 1.0)
            std::cerr << "refs-quiz-bench: the machine is busy (load average " << loadBefore
                      << "); the wall-clock figures will show it\n";

        // One run of each, not counted, so that both start from warm caches.
        runQuiz(x, options, nullptr);
        runBare(x, options, nullptr);

        Samples samples;
        for (int run = 0; run < options.runs; ++run) {
            // Alternate which goes first, so neither always follows the other.
            if (run % 2 == 0) {
                runQuiz(x, options, &samples);
                runBare(x, options, &samples);
            } else {
                runBare(x, options, &samples);
                runQuiz(x, options, &samples);
            }
            std::cerr << '.' << std::flush;
        }
        std::cerr << '\n';

        const Report result = report(samples, machine(x, loadBefore), options.runs);
        std::cout << result.text();
        if (!options.markdown.empty()) {
            std::ofstream(options.markdown) << result.markdown();
            std::cout << "Markdown table written to " << options.markdown << '\n';
        }
        if (!result.allMet()) {
            std::cout << "Some targets were missed.\n";
            return 1;
        }
        std::cout << "All targets met.\n";
        return 0;
    } catch (const std::exception &error) {
        std::cerr << "\nrefs-quiz-bench: " << error.what() << '\n';
        return 2;
    }
}
