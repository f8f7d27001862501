#pragma once

#include <cstddef>
#include <string_view>

struct stbtt_fontinfo;

// What stb_truetype trusts in a font file, checked before it reads it: the
// rasteriser follows offsets and counts without bounds, asserts on formats it
// lacks and recurses into composite glyphs without a limit, so a damaged file
// would otherwise end the program.

// The table directory and every table lie within the file; the tables of
// TrueType outlines are there, long enough for the fields read from them
// before anything else is checked.
bool fontTablesFit(std::string_view data, std::size_t fontStart);

// After stbtt_InitFont: the character map in use is of a format the
// rasteriser knows (0, 4, 6, 12 or 13) and lies within the file with every
// range it can look up; the horizontal metrics, the glyph locations and the
// kerning tables ('kern' and 'GPOS') hold what their counts promise.
bool faceFits(const stbtt_fontinfo& info, std::string_view data);

// A glyph index the metrics and outlines have, whose outline (and those of its
// components, placed by offsets and nested at most a few deep) lies within the
// glyph table, with each component's points, as it is scaled and moved, still
// within the 16 bits the rasteriser keeps them in.
bool glyphFits(const stbtt_fontinfo& info, std::string_view data, int glyph);

// After glyphFits: every point of the glyph's outline, control points
// included, lies within the box its header gives, from which the bitmap is
// sized; the rasteriser asserts on edges outside the bitmap.
bool outlineWithinBox(const stbtt_fontinfo& info, int glyph);

// A bitmap box that is ordered and no larger than an atlas side.
bool glyphBoxFits(int x0, int y0, int x1, int y1);
