// SPDX-License-Identifier: GPL-3.0-or-later
#include "report.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace bench {

namespace {

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string figures(const Summary &summary, const std::string &unit)
{
    return number(summary.median) + " " + unit + " (" + number(summary.min) + "-"
        + number(summary.max) + ")";
}

// Columns are counted in characters, not bytes: the labels hold arrows.
std::size_t width(const std::string &text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char byte) { return (byte & 0xC0) != 0x80; }));
}

std::string padded(const std::string &text, std::size_t to)
{
    return text + std::string(to > width(text) ? to - width(text) : 0, ' ');
}

std::vector<std::vector<std::string>> cells(const Report &report)
{
    std::vector<std::vector<std::string>> table{{"measure", "refs-quiz median (min-max)",
                                                 "bare Qt median (min-max)", "quiz / bare",
                                                 "target"}};
    for (const Row &row : report.rows) {
        const auto ratio = row.ratio();
        char ratioText[16] = "-";
        if (ratio)
            std::snprintf(ratioText, sizeof ratioText, "%.3f", *ratio);
        table.push_back({row.measure, figures(row.quiz, row.unit),
                         row.bare ? figures(*row.bare, row.unit) : "-", ratioText,
                         row.target.empty() ? "-" : row.target + (row.met ? ": met" : ": MISSED")});
    }
    return table;
}

}  // namespace

Summary summarise(std::vector<double> values)
{
    if (values.empty())
        throw std::logic_error("no values to summarise");
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    const double median =
        values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    return {median, values.front(), values.back()};
}

std::optional<double> Row::ratio() const
{
    if (!bare || bare->median <= 0)
        return std::nullopt;
    return quiz.median / bare->median;
}

bool Report::allMet() const
{
    return std::all_of(rows.begin(), rows.end(), [](const Row &row) { return row.met; });
}

std::string Report::text() const
{
    const auto table = cells(*this);
    std::vector<std::size_t> widths(table.front().size(), 0);
    for (const auto &line : table) {
        for (std::size_t column = 0; column < line.size(); ++column)
            widths[column] = std::max(widths[column], width(line[column]));
    }
    std::string out;
    for (const auto &line : table) {
        for (std::size_t column = 0; column < line.size(); ++column)
            out += padded(line[column], widths[column] + 2);
        out.erase(out.find_last_not_of(' ') + 1);
        out += '\n';
    }
    out += "\n" + std::to_string(runs) + " runs of each program, alternating; " + machine + "\n";
    return out;
}

std::string Report::markdown() const
{
    const auto table = cells(*this);
    std::string out;
    for (std::size_t line = 0; line < table.size(); ++line) {
        out += '|';
        for (const auto &cell : table[line])
            out += ' ' + cell + " |";
        out += '\n';
        if (line == 0)
            out += "|---|---|---|---|---|\n";
    }
    out += "\nMedians with min-max over " + std::to_string(runs)
        + " runs of each program, alternating. Machine: " + machine + ".\n";
    return out;
}

}  // namespace bench
