#include "renderers/FontChecks.hpp"

#include "renderers/Font.hpp"

#include <stb_truetype.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace
{
// Offsets and lengths are 64-bit here, so that no sum of file values wraps.
struct Range
{
    std::uint64_t offset = 0;
    std::uint64_t length = 0;

    std::uint64_t end() const { return offset + length; }
    bool holds(std::uint64_t start, std::uint64_t size) const
    {
        return start >= offset && start <= end() && size <= end() - start;
    }
};

// Big-endian reads; the caller has checked that the bytes are there.
class Bytes
{
public:
    explicit Bytes(std::string_view data) : data(data) {}

    std::uint64_t size() const { return data.size(); }
    std::uint32_t u8(std::uint64_t at) const { return static_cast<std::uint8_t>(data[at]); }
    std::uint32_t u16(std::uint64_t at) const { return u8(at) << 8 | u8(at + 1); }
    std::int32_t i16(std::uint64_t at) const { return static_cast<std::int16_t>(u16(at)); }
    std::uint32_t u32(std::uint64_t at) const { return u16(at) << 16 | u16(at + 2); }

private:
    std::string_view data;
};

constexpr std::uint64_t directorySize = 12;
constexpr std::uint64_t recordSize = 16;
// Composite glyphs may nest and repeat components; the rasteriser follows
// them all, so both are bounded.
constexpr int deepestComponent = 8;
constexpr int mostComponents = 256;

// The box around the points the rasteriser makes of an outline, the origin
// included: a line's unused control point is the origin, moved with the rest
// when the outline is a component.
struct Extent
{
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;

    void include(double x, double y)
    {
        left = std::min(left, x);
        right = std::max(right, x);
        bottom = std::min(bottom, y);
        top = std::max(top, y);
    }
};

// A component's points are moved in single precision and stored in 16 bits;
// one outside that range is undefined. The margin covers the rounding.
constexpr double lowestPoint = -32767.0;
constexpr double highestPoint = 32766.0;

// As the rasteriser finds a table: the first record with the tag.
std::optional<Range> findTable(const Bytes& bytes, std::uint64_t fontStart, std::string_view tag)
{
    const std::uint64_t tableCount = bytes.u16(fontStart + 4);
    for (std::uint64_t table = 0; table < tableCount; ++table)
    {
        const std::uint64_t record = fontStart + directorySize + table * recordSize;
        bool same = true;
        for (std::uint64_t letter = 0; letter < 4; ++letter)
        {
            same = same && bytes.u8(record + letter) == static_cast<std::uint8_t>(tag[letter]);
        }
        if (same)
        {
            return Range{bytes.u32(record + 8), bytes.u32(record + 12)};
        }
    }
    return std::nullopt;
}

Range wholeFile(const Bytes& bytes)
{
    return {0, bytes.size()};
}

bool characterMapFits(const Bytes& bytes, std::uint64_t map)
{
    const Range file = wholeFile(bytes);
    if (!file.holds(map, 4))
    {
        return false;
    }
    switch (bytes.u16(map))
    {
    case 0:
        return file.holds(map, std::max<std::uint64_t>(bytes.u16(map + 2), 6));
    case 6:
        return file.holds(map, 10) && file.holds(map, 10 + 2 * std::uint64_t{bytes.u16(map + 8)});
    case 12:
    case 13:
        return file.holds(map, 16) && file.holds(map, 16 + 12 * std::uint64_t{bytes.u32(map + 12)});
    case 4:
    {
        if (!file.holds(map, 14))
        {
            return false;
        }
        // The binary search runs on the header's own search values, which
        // keep it inside the segments only when they agree with the count.
        const std::uint32_t segments = bytes.u16(map + 6) / 2;
        const std::uint32_t power = std::bit_floor(segments);
        if (segments == 0 || bytes.u16(map + 8) != 2 * power ||
            bytes.u16(map + 10) != static_cast<std::uint32_t>(std::countr_zero(power)) ||
            bytes.u16(map + 12) != 2 * (segments - power) || !file.holds(map, 16 + 8 * std::uint64_t{segments}))
        {
            return false;
        }
        // Segments that map through the glyph array reach past the offsets.
        const std::uint64_t ends = map + 14;
        const std::uint64_t starts = ends + 2 * std::uint64_t{segments} + 2;
        const std::uint64_t rangeOffsets = map + 16 + 6 * std::uint64_t{segments};
        for (std::uint64_t segment = 0; segment < segments; ++segment)
        {
            const std::uint32_t start = bytes.u16(starts + 2 * segment);
            const std::uint32_t last = bytes.u16(ends + 2 * segment);
            const std::uint32_t offset = bytes.u16(rangeOffsets + 2 * segment);
            if (offset != 0 && last >= start &&
                !file.holds(rangeOffsets + 2 * segment + offset, 2 * (std::uint64_t{last - start} + 1)))
            {
                return false;
            }
        }
        return true;
    }
    default:
        // Other formats end in an assertion.
        return false;
    }
}

bool kernTableFits(const Bytes& bytes, const Range& kern)
{
    if (!kern.holds(kern.offset, 10))
    {
        return false;
    }
    const bool searched = bytes.u16(kern.offset + 2) >= 1 && bytes.u16(kern.offset + 8) == 1;
    return !searched || kern.holds(kern.offset, 18 + 6 * std::uint64_t{bytes.u16(kern.offset + 10)});
}

// The coverage table's extent and the largest index it can give.
std::optional<std::uint64_t> coverageFits(const Bytes& bytes, const Range& gpos, std::uint64_t coverage)
{
    if (!gpos.holds(coverage, 4))
    {
        return std::nullopt;
    }
    const std::uint64_t count = bytes.u16(coverage + 2);
    switch (bytes.u16(coverage))
    {
    case 1:
        return gpos.holds(coverage + 4, 2 * count) ? std::optional(count) : std::nullopt;
    case 2:
    {
        if (!gpos.holds(coverage + 4, 6 * count))
        {
            return std::nullopt;
        }
        std::uint64_t largest = 0;
        for (std::uint64_t range = 0; range < count; ++range)
        {
            const std::uint64_t record = coverage + 4 + 6 * range;
            const std::uint32_t start = bytes.u16(record);
            const std::uint32_t end = bytes.u16(record + 2);
            if (end >= start)
            {
                largest = std::max<std::uint64_t>(largest, bytes.u16(record + 4) + std::uint64_t{end - start} + 1);
            }
        }
        return largest;
    }
    default:
        return 0;
    }
}

bool classDefinitionFits(const Bytes& bytes, const Range& gpos, std::uint64_t definition)
{
    if (!gpos.holds(definition, 4))
    {
        return false;
    }
    switch (bytes.u16(definition))
    {
    case 1:
        return gpos.holds(definition, 6) && gpos.holds(definition + 6, 2 * std::uint64_t{bytes.u16(definition + 4)});
    case 2:
        return gpos.holds(definition + 4, 6 * std::uint64_t{bytes.u16(definition + 2)});
    default:
        return true;
    }
}

// The pair adjustments the rasteriser reads for kerning (lookup type 2 with
// an x advance only), walked as it walks them.
bool pairAdjustmentFits(const Bytes& bytes, const Range& gpos, std::uint64_t table)
{
    if (!gpos.holds(table, 4))
    {
        return false;
    }
    const std::optional<std::uint64_t> indices = coverageFits(bytes, gpos, table + bytes.u16(table + 2));
    if (!indices)
    {
        return false;
    }
    const std::uint32_t format = bytes.u16(table);
    if (format != 1 && format != 2)
    {
        return true;
    }
    if (!gpos.holds(table, 16) || bytes.u16(table + 4) != 4 || bytes.u16(table + 6) != 0)
    {
        return gpos.holds(table, 8);
    }
    if (format == 1)
    {
        // The pair set of a covered index is read before its count is checked.
        const std::uint64_t sets = std::max<std::uint64_t>(*indices, bytes.u16(table + 8));
        if (!gpos.holds(table + 10, 2 * sets))
        {
            return false;
        }
        for (std::uint64_t set = 0; set < sets; ++set)
        {
            const std::uint64_t pairs = table + bytes.u16(table + 10 + 2 * set);
            if (!gpos.holds(pairs, 2) || !gpos.holds(pairs + 2, 4 * std::uint64_t{bytes.u16(pairs)}))
            {
                return false;
            }
        }
        return true;
    }
    return classDefinitionFits(bytes, gpos, table + bytes.u16(table + 8)) &&
           classDefinitionFits(bytes, gpos, table + bytes.u16(table + 10)) &&
           gpos.holds(table + 16, 2 * std::uint64_t{bytes.u16(table + 12)} * bytes.u16(table + 14));
}

bool positioningFits(const Bytes& bytes, const Range& gpos)
{
    if (!gpos.holds(gpos.offset, 4))
    {
        return false;
    }
    if (bytes.u16(gpos.offset) != 1 || bytes.u16(gpos.offset + 2) != 0)
    {
        return true;
    }
    if (!gpos.holds(gpos.offset, 10))
    {
        return false;
    }
    const std::uint64_t lookups = gpos.offset + bytes.u16(gpos.offset + 8);
    if (!gpos.holds(lookups, 2) || !gpos.holds(lookups + 2, 2 * std::uint64_t{bytes.u16(lookups)}))
    {
        return false;
    }
    for (std::uint64_t lookup = 0; lookup < bytes.u16(lookups); ++lookup)
    {
        const std::uint64_t table = lookups + bytes.u16(lookups + 2 + 2 * lookup);
        if (!gpos.holds(table, 6))
        {
            return false;
        }
        if (bytes.u16(table) != 2)
        {
            continue;
        }
        const std::uint64_t subtables = bytes.u16(table + 4);
        if (!gpos.holds(table + 6, 2 * subtables))
        {
            return false;
        }
        for (std::uint64_t subtable = 0; subtable < subtables; ++subtable)
        {
            if (!pairAdjustmentFits(bytes, gpos, table + bytes.u16(table + 6 + 2 * subtable)))
            {
                return false;
            }
        }
    }
    return true;
}

// The outline data of a simple glyph: contour ends, instructions, then flags
// and coordinates as long as the flags make them.
bool simpleOutlineFits(const Bytes& bytes, const Range& outline, std::uint64_t contours, Extent& extent)
{
    const std::uint64_t ends = outline.offset + 10;
    if (!outline.holds(ends, 2 * contours + 2))
    {
        return false;
    }
    // Contour ends must rise, or the outline walk runs past them.
    for (std::uint64_t contour = 1; contour < contours; ++contour)
    {
        if (bytes.u16(ends + 2 * contour) <= bytes.u16(ends + 2 * (contour - 1)))
        {
            return false;
        }
    }
    const std::uint64_t points = std::uint64_t{bytes.u16(ends + 2 * contours - 2)} + 1;
    std::uint64_t at = ends + 2 * contours + 2 + bytes.u16(ends + 2 * contours);
    std::uint64_t coordinateBytes = 0;
    std::uint32_t flags = 0;
    std::uint32_t repeats = 0;
    std::uint64_t contour = 0;
    std::uint64_t contourStart = 0;
    std::vector<std::uint8_t> pointFlags(points);
    for (std::uint64_t point = 0; point < points; ++point)
    {
        if (repeats == 0)
        {
            if (!outline.holds(at, 1))
            {
                return false;
            }
            flags = bytes.u8(at++);
            if ((flags & 8) != 0)
            {
                if (!outline.holds(at, 1))
                {
                    return false;
                }
                repeats = bytes.u8(at++);
            }
        }
        else
        {
            --repeats;
        }
        pointFlags[point] = static_cast<std::uint8_t>(flags);
        coordinateBytes += (flags & 2) != 0 ? 1 : (flags & 16) != 0 ? 0 : 2;
        coordinateBytes += (flags & 4) != 0 ? 1 : (flags & 32) != 0 ? 0 : 2;
        // A contour that starts off the curve takes its start from the point
        // after: when that is its only point, the outline walk reads the next
        // contour's point, or one past the last.
        const std::uint64_t contourEnd = bytes.u16(ends + 2 * contour);
        if (point == contourStart && point == contourEnd && (flags & 1) == 0)
        {
            return false;
        }
        if (point == contourEnd)
        {
            ++contour;
            contourStart = point + 1;
        }
    }
    if (!outline.holds(at, coordinateBytes))
    {
        return false;
    }
    // The coordinates as the rasteriser sums them: in 32 bits, kept in 16.
    const auto coordinates = [&](std::uint32_t shortFlag, std::uint32_t sameFlag) {
        std::vector<std::int16_t> values(points);
        std::int32_t value = 0;
        for (std::uint64_t point = 0; point < points; ++point)
        {
            const std::uint32_t pointFlag = pointFlags[point];
            if ((pointFlag & shortFlag) != 0)
            {
                const auto delta = static_cast<std::int32_t>(bytes.u8(at++));
                value += (pointFlag & sameFlag) != 0 ? delta : -delta;
            }
            else if ((pointFlag & sameFlag) == 0)
            {
                value += bytes.i16(at);
                at += 2;
            }
            values[point] = static_cast<std::int16_t>(value);
        }
        return values;
    };
    const std::vector<std::int16_t> xs = coordinates(2, 16);
    const std::vector<std::int16_t> ys = coordinates(4, 32);
    for (std::uint64_t point = 0; point < points; ++point)
    {
        extent.include(xs[point], ys[point]);
    }
    return true;
}

struct GlyphWalk
{
    const stbtt_fontinfo& info;
    const Bytes& bytes;
    Range glyphTable;
    Range locations;
    int components = 0;
};

bool outlineFits(GlyphWalk& walk, int glyph, int depth, Extent& extent)
{
    if (glyph < 0 || glyph >= walk.info.numGlyphs)
    {
        return false;
    }
    const Bytes& bytes = walk.bytes;
    const auto index = static_cast<std::uint64_t>(glyph);
    const bool shortOffsets = walk.info.indexToLocFormat == 0;
    const std::uint64_t first = shortOffsets ? 2 * std::uint64_t{bytes.u16(walk.locations.offset + 2 * index)}
                                             : bytes.u32(walk.locations.offset + 4 * index);
    const std::uint64_t last = shortOffsets ? 2 * std::uint64_t{bytes.u16(walk.locations.offset + 2 * index + 2)}
                                            : bytes.u32(walk.locations.offset + 4 * index + 4);
    if (first == last)
    {
        return true;
    }
    const Range outline{walk.glyphTable.offset + first, last > first ? last - first : 0};
    if (last < first || !walk.glyphTable.holds(outline.offset, outline.length) ||
        !outline.holds(outline.offset, 10))
    {
        return false;
    }
    const std::int32_t contours = bytes.i16(outline.offset);
    if (contours >= 0)
    {
        return contours == 0 || simpleOutlineFits(bytes, outline, static_cast<std::uint64_t>(contours), extent);
    }
    if (depth >= deepestComponent)
    {
        return false;
    }
    std::uint64_t at = outline.offset + 10;
    bool more = true;
    while (more)
    {
        if (++walk.components > mostComponents || !outline.holds(at, 4))
        {
            return false;
        }
        const std::uint32_t flags = bytes.u16(at);
        // Read as signed, as the rasteriser reads it: above 0x7fff it is no glyph.
        const int component = bytes.i16(at + 2);
        // Components placed by matching points end in an assertion.
        if ((flags & 2) == 0)
        {
            return false;
        }
        const bool wordOffsets = (flags & 1) != 0;
        const std::uint64_t offsets = at + 4;
        const std::uint64_t scales = offsets + (wordOffsets ? 4 : 2);
        const int scaleCount = (flags & 8) != 0 ? 1 : (flags & 0x40) != 0 ? 2 : (flags & 0x80) != 0 ? 4 : 0;
        at = scales + 2 * static_cast<std::uint64_t>(scaleCount);
        Extent part;
        if (!outline.holds(at, 0) || !outlineFits(walk, component, depth + 1, part))
        {
            return false;
        }
        // The component's points moved as the rasteriser moves them, whose
        // result must fit the 16 bits it stores.
        const auto scale = [&](int index) { return static_cast<double>(bytes.i16(scales + 2 * index)) / 16384.0; };
        const double dx = wordOffsets ? bytes.i16(offsets) : static_cast<std::int8_t>(bytes.u8(offsets));
        const double dy = wordOffsets ? bytes.i16(offsets + 2) : static_cast<std::int8_t>(bytes.u8(offsets + 1));
        const double a = scaleCount == 0 ? 1 : scale(0);
        const double b = scaleCount == 4 ? scale(1) : 0;
        const double c = scaleCount == 4 ? scale(2) : 0;
        const double d = scaleCount == 0 ? 1 : scaleCount == 1 ? a : scaleCount == 2 ? scale(1) : scale(3);
        const double m = std::sqrt(a * a + b * b);
        const double n = std::sqrt(c * c + d * d);
        for (const double x : {part.left, part.right})
        {
            for (const double y : {part.bottom, part.top})
            {
                const double movedX = m * (a * x + c * y + dx);
                const double movedY = n * (b * x + d * y + dy);
                if (!(movedX >= lowestPoint && movedX <= highestPoint && movedY >= lowestPoint &&
                      movedY <= highestPoint))
                {
                    return false;
                }
                extent.include(std::trunc(movedX), std::trunc(movedY));
            }
        }
        more = (flags & 0x20) != 0;
    }
    return true;
}
}

bool fontTablesFit(std::string_view data, std::size_t fontStart)
{
    const Bytes bytes(data);
    const Range file = wholeFile(bytes);
    if (!file.holds(fontStart, directorySize))
    {
        return false;
    }
    const std::uint64_t tableCount = bytes.u16(fontStart + 4);
    if (!file.holds(fontStart + directorySize, tableCount * recordSize))
    {
        return false;
    }
    for (std::uint64_t table = 0; table < tableCount; ++table)
    {
        const std::uint64_t record = fontStart + directorySize + table * recordSize;
        if (!file.holds(bytes.u32(record + 8), bytes.u32(record + 12)))
        {
            return false;
        }
    }
    const struct
    {
        std::string_view tag;
        std::uint64_t shortest;
    } required[] = {{"cmap", 4}, {"head", 54}, {"hhea", 36}, {"hmtx", 4},
                    {"maxp", 6}, {"loca", 4},  {"glyf", 10}};
    for (const auto& [tag, shortest] : required)
    {
        const std::optional<Range> table = findTable(bytes, fontStart, tag);
        if (!table || table->length < shortest || table->offset == 0)
        {
            return false;
        }
    }
    // The encoding records are searched before anything else is read.
    const Range cmap = *findTable(bytes, fontStart, "cmap");
    return cmap.holds(cmap.offset + 4, 8 * std::uint64_t{bytes.u16(cmap.offset + 2)});
}

bool faceFits(const stbtt_fontinfo& info, std::string_view data)
{
    const Bytes bytes(data);
    const auto fontStart = static_cast<std::uint64_t>(info.fontstart);
    // Outlines in the 'CFF ' form are not TrueType's; their parser asserts on damage.
    if (info.cff.size != 0 || info.numGlyphs <= 0 || info.index_map <= 0 ||
        !characterMapFits(bytes, static_cast<std::uint64_t>(info.index_map)))
    {
        return false;
    }
    const auto glyphs = static_cast<std::uint64_t>(info.numGlyphs);
    const Range metrics = *findTable(bytes, fontStart, "hmtx");
    const Range header = *findTable(bytes, fontStart, "hhea");
    const std::uint64_t longMetrics = bytes.u16(header.offset + 34);
    const std::uint64_t metricBytes =
        glyphs <= longMetrics ? 4 * glyphs : 4 * longMetrics + 2 * (glyphs - longMetrics);
    const Range locations = *findTable(bytes, fontStart, "loca");
    const std::uint64_t locationBytes = (info.indexToLocFormat == 0 ? 2 : 4) * (glyphs + 1);
    if (longMetrics == 0 || metrics.length < metricBytes || info.indexToLocFormat > 1 ||
        locations.length < locationBytes)
    {
        return false;
    }
    const std::optional<Range> kern = findTable(bytes, fontStart, "kern");
    const std::optional<Range> gpos = findTable(bytes, fontStart, "GPOS");
    return (!kern || kernTableFits(bytes, *kern)) && (!gpos || positioningFits(bytes, *gpos));
}

bool glyphFits(const stbtt_fontinfo& info, std::string_view data, int glyph)
{
    const Bytes bytes(data);
    const auto fontStart = static_cast<std::uint64_t>(info.fontstart);
    GlyphWalk walk{info, bytes, *findTable(bytes, fontStart, "glyf"), *findTable(bytes, fontStart, "loca")};
    Extent extent;
    return outlineFits(walk, glyph, 0, extent);
}

bool outlineWithinBox(const stbtt_fontinfo& info, int glyph)
{
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    stbtt_vertex* vertices = nullptr;
    const int count = stbtt_GetGlyphShape(&info, glyph, &vertices);
    if (count > 0 && stbtt_GetGlyphBox(&info, glyph, &x0, &y0, &x1, &y1) == 0)
    {
        stbtt_FreeShape(&info, vertices);
        return false;
    }
    const auto inside = [&](int x, int y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
    bool within = true;
    for (int index = 0; index < count && within; ++index)
    {
        const stbtt_vertex& vertex = vertices[index];
        within = inside(vertex.x, vertex.y) && (vertex.type != STBTT_vcurve || inside(vertex.cx, vertex.cy)) &&
                 (vertex.type != STBTT_vcubic || (inside(vertex.cx, vertex.cy) && inside(vertex.cx1, vertex.cy1)));
    }
    stbtt_FreeShape(&info, vertices);
    return within;
}

bool glyphBoxFits(int x0, int y0, int x1, int y1)
{
    const std::int64_t width = std::int64_t{x1} - x0;
    const std::int64_t height = std::int64_t{y1} - y0;
    return width >= 0 && height >= 0 && width <= maxAtlasSide && height <= maxAtlasSide;
}
