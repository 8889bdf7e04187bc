// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

namespace assets {

namespace {

constexpr int Width = 497;
constexpr int Height = 312;

// The picture's whole palette: the fills and the ink first, then the pale tints that
// halos fade through on their way into the white.
enum Ink : std::uint8_t {
    White,
    Tan,
    PalePink,
    NearBlack,
    Mauve,
    HairDark,
    HairMid,
    Parchment,
    Khaki,
    Rose,
    Mist,
    Haze,
    Cream,
    Smoke,
    Silver,
    InkCount
};

constexpr std::array<QRgb, InkCount> Palette = {
    0xFFFFFF, 0xCC9966, 0xEFD6C6, 0x080808, 0x996666, 0x330000, 0x663333, 0xE7E7D6,
    0xCCCC99, 0xCC9999, 0xF1F1F1, 0xF8F8F8, 0xFFFBF0, 0xEAEAEA, 0xC0C0C0,
};

constexpr bool isTint(Ink ink)
{
    return ink == White || ink >= Parchment;
}

constexpr int brightness(Ink ink)
{
    const QRgb c = Palette[ink];
    return qRed(c) + qGreen(c) + qBlue(c);
}

// Blended edge pixels go to the nearest palette colour, but greys stay grey: otherwise
// the half-covered rim of a black line on white would turn mauve.
Ink nearestInk(int r, int g, int b)
{
    const bool grey = std::max({r, g, b}) - std::min({r, g, b}) < 20;
    Ink best = White;
    int bestDistance = INT32_MAX;
    for (int i = 0; i < InkCount; ++i) {
        const QRgb c = Palette[i];
        const bool candidateGrey = qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
        if (grey && !candidateGrey)
            continue;
        const int dr = r - qRed(c), dg = g - qGreen(c), db = b - qBlue(c);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<Ink>(i);
        }
    }
    return best;
}

// A point of an outline; the curve passes through it smoothly unless it is a corner.
struct Knot {
    double x = 0;
    double y = 0;
    bool corner = false;
};

// Catmull-Rom through the knots, written out as cubic Bezier segments.
QPainterPath curve(std::span<const Knot> knots, bool closed, const QTransform &place)
{
    const auto n = static_cast<int>(knots.size());
    const auto at = [&](int i) {
        i = closed ? (i + n) % n : std::clamp(i, 0, n - 1);
        return place.map(QPointF(knots[i].x, knots[i].y));
    };
    const auto tangent = [&](int i) {
        if (knots[(i + n) % n].corner)
            return QPointF();
        return (at(i + 1) - at(i - 1)) / 6.0;
    };
    QPainterPath path(at(0));
    const int segments = closed ? n : n - 1;
    for (int i = 0; i < segments; ++i)
        path.cubicTo(at(i) + tangent(i), at(i + 1) - tangent(i + 1), at(i + 1));
    if (closed)
        path.closeSubpath();
    return path;
}

QPainterPath closedCurve(std::span<const Knot> knots, const QTransform &place = {})
{
    return curve(knots, true, place);
}

QPainterPath openCurve(std::span<const Knot> knots, const QTransform &place = {})
{
    return curve(knots, false, place);
}

// How a brush stroke's width swells and thins along its length.
struct Taper {
    double from = 0;  // stretch of the path the stroke covers, as fractions of its length
    double to = 1;
    double width = 2;
    double lead = 0.25;  // fractions of the stroke spent growing and fading
    double tail = 0.35;
};

// A stroke as a filled outline: a round brush pressed harder in the middle than at the
// ends, so every line tapers to a point.
QPainterPath brushShape(const QPainterPath &path, const Taper &taper)
{
    const double length = path.length() * (taper.to - taper.from);
    const int steps = std::max(6, static_cast<int>(length / 0.7));
    std::vector<QPointF> centre;
    centre.reserve(steps + 1);
    for (int i = 0; i <= steps; ++i) {
        // Strokes round a closed outline may run past its starting point.
        const double t = taper.from + (taper.to - taper.from) * i / steps;
        centre.push_back(path.pointAtPercent(t < 0 || t > 1 ? t - std::floor(t) : t));
    }

    QPolygonF outline(2 * (steps + 1));
    for (int i = 0; i <= steps; ++i) {
        const double s = static_cast<double>(i) / steps;
        const double rise = std::min(1.0, s / taper.lead);
        const double fall = std::min(1.0, (1.0 - s) / taper.tail);
        const double press = std::sin(std::numbers::pi / 2 * std::max(0.0, std::min(rise, fall)));
        const double half = std::max(0.2, taper.width * press / 2);
        const QPointF d = centre[std::min(i + 1, steps)] - centre[std::max(i - 1, 0)];
        const double norm = std::hypot(d.x(), d.y());
        const QPointF normal = norm > 0 ? QPointF(-d.y(), d.x()) / norm : QPointF();
        outline[i] = centre[i] + normal * half;
        outline[2 * steps + 1 - i] = centre[i] - normal * half;
    }
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    shape.addPolygon(outline);
    shape.closeSubpath();
    return shape;
}

struct Halo {
    Ink inner = White;  // next to the fill
    Ink outer = White;  // fading into the page
    double reach = 0;   // pixels
};

class Canvas {
public:
    Canvas() : m_ink(Width * Height, White) {}

    // A flat fill with hard edges, ringed by its halo where it meets the page.
    void fill(const QPainterPath &shape, Ink core, const Halo &halo = {})
    {
        const std::vector<float> cover = coverage(shape);
        std::vector<float> solid(cover.size());
        std::transform(cover.begin(), cover.end(), solid.begin(),
                       [](float c) { return c >= 0.5F ? 1.0F : 0.0F; });
        if (halo.reach > 0)
            glow(blurred(solid, halo.reach), solid, halo);
        for (std::size_t i = 0; i < solid.size(); ++i)
            if (solid[i] > 0)
                m_ink[i] = core;
    }

    // A brush stroke; its soft rim is blended with whatever lies underneath.
    void stroke(const QPainterPath &path, const Taper &taper, Ink ink = NearBlack)
    {
        const std::vector<float> cover = coverage(brushShape(path, taper));
        glow(blurred(cover, 1.5), cover, {Mist, Haze, 1});
        for (std::size_t i = 0; i < cover.size(); ++i) {
            const float c = cover[i];
            if (c >= 0.55F) {
                m_ink[i] = ink;
            } else if (c > 0.08F) {
                const QRgb under = Palette[m_ink[i]];
                const QRgb over = Palette[ink];
                const auto mix = [c](int below, int above) {
                    return static_cast<int>(std::lround(below * (1 - c) + above * c));
                };
                m_ink[i] =
                    nearestInk(mix(qRed(under), qRed(over)), mix(qGreen(under), qGreen(over)),
                               mix(qBlue(under), qBlue(over)));
            }
        }
    }

    [[nodiscard]] QImage image() const
    {
        QImage result(Width, Height, QImage::Format_RGB888);
        for (int y = 0; y < Height; ++y) {
            auto *line = result.scanLine(y);
            for (int x = 0; x < Width; ++x) {
                const QRgb c = Palette[m_ink[y * Width + x]];
                line[3 * x] = static_cast<uchar>(qRed(c));
                line[3 * x + 1] = static_cast<uchar>(qGreen(c));
                line[3 * x + 2] = static_cast<uchar>(qBlue(c));
            }
        }
        return result;
    }

private:
    static std::vector<float> coverage(const QPainterPath &shape)
    {
        QImage mask(Width, Height, QImage::Format_ARGB32_Premultiplied);
        mask.fill(Qt::transparent);
        {
            QPainter painter(&mask);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.fillPath(shape, Qt::black);
        }
        std::vector<float> cover(Width * Height);
        for (int y = 0; y < Height; ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
            for (int x = 0; x < Width; ++x)
                cover[y * Width + x] = static_cast<float>(qAlpha(line[x])) / 255.0F;
        }
        return cover;
    }

    // Three box passes each way come close to a Gaussian of the given radius.
    static std::vector<float> blurred(std::vector<float> values, double radius)
    {
        const int r = std::max(1, static_cast<int>(std::lround(radius / std::sqrt(3.0))));
        std::vector<float> scratch(values.size());
        const auto pass = [&](int count, int stride, int lines, int lineStride) {
            for (int l = 0; l < lines; ++l) {
                const int base = l * lineStride;
                for (int i = 0; i < count; ++i) {
                    float sum = 0;
                    for (int k = -r; k <= r; ++k)
                        sum += values[base + std::clamp(i + k, 0, count - 1) * stride];
                    scratch[base + i * stride] = sum / static_cast<float>(2 * r + 1);
                }
            }
            std::swap(values, scratch);
        };
        for (int round = 0; round < 3; ++round) {
            pass(Width, 1, Height, Width);
            pass(Height, Width, Width, 1);
        }
        return values;
    }

    // Paints the halo's tints where the blurred shape still shows, on the page or on a
    // paler tint only, so that halos never dim a fill.
    void glow(const std::vector<float> &soft, const std::vector<float> &shape, const Halo &halo)
    {
        for (std::size_t i = 0; i < soft.size(); ++i) {
            if (shape[i] >= 0.5F)
                continue;
            const Ink tint = soft[i] > 0.24F ? halo.inner : soft[i] > 0.07F ? halo.outer : White;
            const Ink here = m_ink[i];
            if (tint != White && isTint(here) && brightness(here) > brightness(tint))
                m_ink[i] = tint;
        }
    }

    std::vector<Ink> m_ink;
};

// ---- The drawing: pixel coordinates from the picture's top-left corner. ----

constexpr Halo JacketHalo{Khaki, Parchment, 6};
constexpr Halo SkinHalo{Rose, PalePink, 4};
constexpr Halo HairHalo{HairMid, Rose, 3};
constexpr Halo BeigeHalo{Cream, Cream, 6};
constexpr Halo ShirtHalo{Smoke, Mist, 2};

// The head is drawn upright and then bowed towards the hand.
const QTransform Bow =
    QTransform().translate(191, 96).rotate(16).scale(0.93, 0.93).translate(-205, -100);

constexpr Knot Face[] = {
    {168, 50},  {196, 32},       {226, 28},       {242, 36}, {247, 48}, {245, 56},
    {250, 66},  {254, 75, true}, {245, 80, true}, {244, 86}, {240, 90}, {242, 95},
    {236, 103}, {222, 108},      {200, 102},      {184, 96}, {170, 90}, {164, 72},
};
constexpr Knot Ear[] = {
    {178, 60}, {168, 56}, {162, 64}, {163, 76}, {170, 86}, {180, 88}, {182, 72},
};
constexpr Knot Hair[] = {
    {155, 74},       {154, 46}, {166, 18},       {192, 5},  {222, 7},  {240, 20},
    {246, 36, true}, {236, 33}, {228, 37, true}, {218, 31}, {204, 36}, {190, 42},
    {184, 52},       {182, 62}, {180, 70, true}, {172, 72}, {166, 86}, {160, 92, true},
};

constexpr Knot Neck[] = {{192, 100}, {206, 106}, {220, 104}, {226, 114}, {208, 122}, {190, 116}};
constexpr Knot Jacket[] = {
    {186, 116}, {150, 120},       {112, 126},       {86, 133},        {72, 146},
    {64, 170},  {59, 200},        {57, 228},        {62, 248, true},  {140, 251},
    {220, 251}, {256, 249, true}, {283, 229, true}, {292, 214},       {295, 190},
    {289, 160}, {276, 138},       {256, 124},       {234, 116, true},
};
// Light catches the tops of the shoulders.
constexpr Knot LeftSheen[] = {
    {76, 156}, {92, 140}, {128, 130}, {160, 124}, {132, 136}, {100, 146}, {84, 164},
};
constexpr Knot RightSheen[] = {
    {246, 127}, {268, 136}, {284, 156}, {289, 184}, {280, 164}, {266, 144},
};
constexpr Knot Shirt[] = {{182, 112, true}, {240, 112, true}, {213, 226, true}};
constexpr Knot LeftCollar[] = {{190, 112, true}, {209, 124, true}, {203, 140, true}, {194, 126}};
constexpr Knot RightCollar[] = {{232, 112, true}, {213, 124, true}, {220, 140, true}, {228, 126}};
constexpr Knot TieKnot[] = {{207, 124, true}, {215, 124, true}, {214, 134, true}, {208, 134, true}};
constexpr Knot TieBlade[] = {
    {209, 134, true}, {213, 134, true}, {218, 180}, {213, 198, true}, {208, 180},
};
constexpr Knot LeftLapel[] = {
    {186, 114, true}, {176, 133, true}, {185, 142, true}, {181, 152, true},
    {190, 186},       {213, 226, true}, {190, 116, true},
};
constexpr Knot RightLapel[] = {
    {234, 114, true}, {246, 132, true}, {238, 142, true}, {242, 152, true},
    {234, 188},       {213, 226, true}, {232, 116, true},
};
constexpr Knot Handkerchief[] = {
    {150, 175, true}, {154, 165, true}, {160, 171, true}, {166, 162, true}, {172, 172, true},
};
constexpr Knot Cuff[] = {{256, 249, true}, {282, 229, true}, {288, 234, true}, {263, 253, true}};
constexpr Knot Hand[] = {
    {264, 251}, {272, 243},       {286, 234}, {298, 230},       {308, 233},
    {315, 238}, {320, 245},       {319, 250}, {316, 251, true}, {316, 254},
    {311, 256}, {309, 255, true}, {307, 258}, {302, 259},       {300, 257, true},
    {296, 259}, {290, 258},       {280, 257}, {270, 256},
};

constexpr Knot Mouse[] = {
    {286, 258}, {294, 247}, {316, 244}, {334, 248}, {343, 256}, {335, 265}, {310, 268}, {292, 266},
};
constexpr Knot MonitorFront[] = {
    {373, 114, true},
    {444, 104, true},
    {447, 228, true},
    {376, 236, true},
};
constexpr Knot MonitorSide[] = {
    {444, 104, true},
    {476, 118, true},
    {474, 212, true},
    {447, 228, true},
};
constexpr Knot Screen[] = {
    {386, 131}, {391, 125}, {429, 118}, {434, 122}, {435, 205}, {430, 211}, {393, 217}, {388, 213},
};
constexpr Knot Stand[] = {
    {398, 233, true}, {428, 229, true}, {426, 254}, {450, 260}, {458, 270},
    {438, 280},       {396, 281},       {380, 274}, {386, 262}, {402, 256},
};
constexpr Knot DeskEdge[] = {{20, 268}, {180, 276}, {370, 288}, {480, 296}};
constexpr Knot CableCourse[] = {{343, 257}, {352, 269}, {368, 277}, {384, 273}};

// Free strokes: features, creases and the small parts of things.
struct Detail {
    template <std::size_t N>
    constexpr Detail(const Knot (&points)[N], double pen, Ink colour = NearBlack)
        : count(N)
        , width(pen)
        , ink(colour)
    {
        static_assert(N >= 2 && N <= 4);
        std::copy(points, points + N, knots.begin());
    }

    std::array<Knot, 4> knots{};
    std::size_t count;
    double width;
    Ink ink;
};

constexpr Detail HeadDetails[] = {
    // downcast eyes, brows, nostril, mouth, ear
    {{{200, 62}, {207, 66}, {214, 63}}, 2.4},
    {{{232, 58}, {237, 61}, {242, 58}}, 2.0},
    {{{197, 52}, {207, 47}, {217, 50}}, 2.2},
    {{{229, 47}, {236, 45}, {242, 46}}, 1.8},
    {{{241, 76}, {245, 79}}, 1.4},
    {{{230, 93}, {234, 91}, {239, 92}}, 1.6},
    {{{175, 64}, {168, 70}, {172, 80}}, 1.4},
    // strands of hair
    {{{164, 32}, {186, 14}, {222, 14}}, 1.6, HairMid},
    {{{162, 50}, {182, 28}, {214, 22}}, 1.6, HairMid},
    {{{178, 42}, {200, 30}, {232, 26}}, 1.4, HairMid},
};

constexpr Detail BodyDetails[] = {
    // throat, tie stripes
    {{{218, 106}, {224, 113}}, 1.6},
    {{{209, 150}, {217, 146}}, 1.4, HairMid},
    {{{209, 163}, {218, 158}}, 1.4, HairMid},
    {{{209, 176}, {219, 171}}, 1.4, HairMid},
    // sleeves: seams and creases
    {{{252, 160}, {250, 200}, {254, 232}, {258, 246}}, 2.4},
    {{{268, 198}, {282, 204}}, 1.8},
    {{{270, 212}, {286, 214}}, 1.8},
    {{{98, 146}, {100, 190}, {110, 226}, {122, 250}}, 2.4},
    {{{64, 214}, {78, 222}}, 1.8},
    {{{60, 232}, {76, 238}}, 1.8},
    // breast pocket and the button
    {{{146, 176}, {162, 174}, {178, 171}}, 2.2},
    {{{212, 234}, {216, 234}}, 3.0},
};

constexpr Detail HandDetails[] = {
    // fingers curled over the mouse, the thumb, the mouse's buttons
    {{{307, 240}, {316, 251}}, 1.4},
    {{{301, 243}, {309, 255}}, 1.4},
    {{{294, 246}, {300, 257}}, 1.4},
    {{{272, 250}, {284, 250}, {292, 253}}, 1.4},
    {{{330, 249}, {328, 257}, {332, 265}}, 1.2},
};

constexpr Detail MonitorDetails[] = {
    // buttons, vents, glare on the glass
    {{{420, 224}, {426, 223}}, 2.0},        {{{430, 223}, {436, 222}}, 2.0},
    {{{452, 126}, {468, 133}}, 1.4},        {{{452, 134}, {468, 141}}, 1.4},
    {{{452, 142}, {468, 149}}, 1.4},        {{{396, 146}, {412, 130}}, 2.4, White},
    {{{396, 158}, {420, 134}}, 1.6, White},
};

// A filled shape and its ink contour, drawn in table order: later shapes cover earlier ones.
struct Shape {
    std::span<const Knot> outline;
    Ink fill;
    Halo halo = {};
    double line = 0;  // contour width, none if 0
    double strokeLength = 90;
};

constexpr Shape MonitorShapes[] = {
    {Stand, PalePink, BeigeHalo, 1.8, 60},
    {MonitorSide, PalePink, BeigeHalo, 2.2},
    {MonitorFront, PalePink, BeigeHalo, 2.6},
    {Screen, Smoke, {}, 2.0},
};

constexpr Shape BodyShapes[] = {
    {Jacket, Tan, JacketHalo, 3.4},
    {LeftSheen, Khaki},
    {RightSheen, Khaki},
    {Neck, Mauve},
    {Shirt, White},
    {TieBlade, HairDark, {}, 1.6, 60},
    {LeftCollar, White, {}, 1.6, 30},
    {RightCollar, White, {}, 1.6, 30},
    {TieKnot, HairDark, {}, 1.6, 30},
    {LeftLapel, Tan, {}, 2.2, 50},
    {RightLapel, Tan, {}, 2.2, 50},
    {Handkerchief, White, {}, 1.4, 30},
};

constexpr Shape HeadShapes[] = {
    {Face, Mauve, SkinHalo, 2.6, 70},
    {Hair, HairDark, HairHalo, 2.0, 70},
    {Ear, Mauve, SkinHalo, 1.8, 40},
};

constexpr Shape HandShapes[] = {
    {Mouse, PalePink, BeigeHalo, 1.8, 50},
    {Hand, Mauve, SkinHalo, 2.0, 40},
    {Cuff, White, ShirtHalo, 1.6, 30},
};

// A coiled cord: the pen circles while it moves on, looping once per pitch.
QPainterPath coil(std::span<const Knot> course, double radius, double pitch)
{
    const QPainterPath base = openCurve(course);
    const double length = base.length();
    const int steps = static_cast<int>(length / pitch * 8);
    std::vector<Knot> knots;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double turn = 2 * std::numbers::pi * t * length / pitch;
        const QPointF at = base.pointAtPercent(t);
        const QPointF ahead = base.pointAtPercent(std::min(1.0, t + 0.01))
            - base.pointAtPercent(std::max(0.0, t - 0.01));
        const QPointF along = ahead / std::hypot(ahead.x(), ahead.y());
        const QPointF across(-along.y(), along.x());
        const QPointF p =
            at - along * (radius * std::sin(turn)) + across * (radius * (std::cos(turn) - 1));
        knots.push_back({p.x(), p.y()});
    }
    return openCurve(knots);
}

// Outlines go down as several overlapping strokes, the way a hand works round a shape,
// so the line thins wherever one stroke hands over to the next.
void outline(Canvas &canvas, const QPainterPath &path, double width, double strokeLength = 90)
{
    const int pieces = std::max(1, static_cast<int>(std::lround(path.length() / strokeLength)));
    for (int i = 0; i < pieces; ++i) {
        const double pressure = 0.7 + 0.6 * std::fmod(i * 0.618 + 0.3, 1.0);
        canvas.stroke(path, {(i - 0.08) / pieces, (i + 1.08) / pieces, width * pressure, 0.2, 0.3});
    }
}

void draw(Canvas &canvas, std::span<const Shape> shapes, const QTransform &place = {})
{
    for (const Shape &shape : shapes) {
        const QPainterPath path = closedCurve(shape.outline, place);
        canvas.fill(path, shape.fill, shape.halo);
        if (shape.line > 0)
            outline(canvas, path, shape.line, shape.strokeLength);
    }
}

void draw(Canvas &canvas, std::span<const Detail> strokes, const QTransform &place = {})
{
    for (const Detail &detail : strokes)
        canvas.stroke(openCurve(std::span(detail.knots.data(), detail.count), place),
                      {0, 1, detail.width, 0.3, 0.4}, detail.ink);
}

}  // namespace

QImage paintTitlePicture()
{
    Canvas canvas;
    draw(canvas, MonitorShapes);
    draw(canvas, MonitorDetails);
    draw(canvas, BodyShapes);
    draw(canvas, BodyDetails);
    draw(canvas, HeadShapes, Bow);
    draw(canvas, HeadDetails, Bow);
    draw(canvas, HandShapes);
    draw(canvas, HandDetails);
    canvas.stroke(openCurve(DeskEdge), {0, 1, 1.8, 0.1, 0.15});
    canvas.stroke(coil(CableCourse, 4, 9), {0, 1, 1.3, 0.03, 0.08});
    return canvas.image();
}

}  // namespace assets
