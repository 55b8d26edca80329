// Draws the program's icon and writes it as a Windows .ico and as PNGs for the Linux icon theme.
//
// Usage: make_icons OUT_DIR
//   OUT_DIR/plugin-generator.ico                        16, 24, 32, 48 px as 4, 8 and 32 bit DIBs,
//                                                       256 px as PNG at the same three depths
//   OUT_DIR/hicolor/NxN/apps/plugin-generator.png       N = 16, 24, 32, 48, 64, 128, 256 (RGBA)
//
// It runs at build time on the build machine, so it uses nothing but the standard library, and
// its output is the same bytes on every run: the build may compare or cache it.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <span>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// ---------------------------------------------------------------------------------------------
// Byte order and checksums

void PutU16Le(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32Le(Bytes& out, std::uint32_t value) {
  PutU16Le(out, value & 0xFFFF);
  PutU16Le(out, value >> 16);
}

void PutU32Be(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

// CRC-32 as PNG and zip define it (reflected polynomial 0xEDB88320).
std::uint32_t Crc32(std::span<const std::uint8_t> data) {
  static const std::array<std::uint32_t, 256> kTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    return table;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::uint8_t byte : data) crc = kTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

// Adler-32, the check value that closes a zlib stream.
std::uint32_t Adler32(std::span<const std::uint8_t> data) {
  constexpr std::uint32_t kModulus = 65521;
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

// ---------------------------------------------------------------------------------------------
// Deflate: one block with the fixed Huffman codes and LZ77 matches from hash chains. Icons are
// mostly flat colour, so long back references do nearly all the work and the dynamic codes of a
// full compressor would gain little.

class BitWriter {
 public:
  // Deflate packs values from the least significant bit of each byte upwards.
  void Put(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
      if (used_ == 0) bytes_.push_back(0);
      bytes_.back() |= static_cast<std::uint8_t>(((value >> i) & 1) << used_);
      used_ = (used_ + 1) % 8;
    }
  }
  // Huffman codes, unlike other values, go most significant bit first.
  void PutCode(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Put((code >> i) & 1, 1);
  }
  Bytes Take() { return std::move(bytes_); }

 private:
  Bytes bytes_;
  int used_ = 0;  // bits used in the last byte
};

// The fixed literal/length code of deflate (RFC 1951, 3.2.6).
void PutFixedSymbol(BitWriter& out, int symbol) {
  if (symbol < 144) {
    out.PutCode(0x30 + symbol, 8);
  } else if (symbol < 256) {
    out.PutCode(0x190 + symbol - 144, 9);
  } else if (symbol < 280) {
    out.PutCode(symbol - 256, 7);
  } else {
    out.PutCode(0xC0 + symbol - 280, 8);
  }
}

// Lengths 3..258 and distances 1..32768 as a code plus extra bits (RFC 1951, 3.2.5).
constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Index of the last base not above value: the code whose range holds it.
template <std::size_t N>
int CodeFor(const std::array<int, N>& bases, int value) {
  return static_cast<int>(std::upper_bound(bases.begin(), bases.end(), value) - bases.begin()) - 1;
}

void PutMatch(BitWriter& out, int length, int distance) {
  const int length_code = CodeFor(kLengthBase, length);
  PutFixedSymbol(out, 257 + length_code);
  out.Put(length - kLengthBase[length_code], kLengthExtra[length_code]);
  const int distance_code = CodeFor(kDistanceBase, distance);
  out.PutCode(distance_code, 5);
  out.Put(distance - kDistanceBase[distance_code], kDistanceExtra[distance_code]);
}

Bytes Deflate(std::span<const std::uint8_t> data) {
  constexpr int kMinMatch = 3;
  constexpr int kMaxMatch = 258;
  constexpr int kWindow = 32768;
  constexpr int kHashBits = 15;
  constexpr int kMaxChain = 64;  // enough for icon art; bounds the time on unlucky input
  const int size = static_cast<int>(data.size());
  std::vector<int> head(1 << kHashBits, -1);
  std::vector<int> previous(data.size(), -1);
  auto hash_at = [&](int i) {
    return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & ((1 << kHashBits) - 1);
  };
  auto remember = [&](int i) {
    if (i + kMinMatch > size) return;
    const int hash = hash_at(i);
    previous[i] = head[hash];
    head[hash] = i;
  };

  BitWriter out;
  out.Put(1, 1);  // final block
  out.Put(1, 2);  // fixed Huffman codes
  int i = 0;
  while (i < size) {
    int best_length = 0, best_distance = 0;
    if (i + kMinMatch <= size) {
      const int limit = std::min(kMaxMatch, size - i);
      int chain = 0;
      for (int candidate = head[hash_at(i)];
           candidate >= 0 && i - candidate <= kWindow && chain < kMaxChain;
           candidate = previous[candidate], ++chain) {
        int length = 0;
        while (length < limit && data[candidate + length] == data[i + length]) ++length;
        if (length > best_length) {
          best_length = length;
          best_distance = i - candidate;
          if (length == limit) break;
        }
      }
    }
    if (best_length >= kMinMatch) {
      PutMatch(out, best_length, best_distance);
      for (int k = 0; k < best_length; ++k) remember(i + k);
      i += best_length;
    } else {
      PutFixedSymbol(out, data[i]);
      remember(i);
      ++i;
    }
  }
  PutFixedSymbol(out, 256);  // end of block
  return out.Take();
}

Bytes ZlibCompress(std::span<const std::uint8_t> data) {
  // CMF 0x78: deflate with a 32 KiB window; FLG 0x5E makes CMF*256+FLG a multiple of 31.
  Bytes out = {0x78, 0x5E};
  const Bytes deflated = Deflate(data);
  out.insert(out.end(), deflated.begin(), deflated.end());
  PutU32Be(out, Adler32(data));
  return out;
}

// ---------------------------------------------------------------------------------------------
// PNG

void PutPngChunk(Bytes& png, const char (&type)[5], std::span<const std::uint8_t> data) {
  PutU32Be(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t type_start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  PutU32Be(png, Crc32(std::span(png).subspan(type_start)));
}

std::uint8_t Paeth(int left, int up, int up_left) {
  const int estimate = left + up - up_left;
  const int to_left = std::abs(estimate - left), to_up = std::abs(estimate - up),
            to_up_left = std::abs(estimate - up_left);
  if (to_left <= to_up && to_left <= to_up_left) return static_cast<std::uint8_t>(left);
  return static_cast<std::uint8_t>(to_up <= to_up_left ? up : up_left);
}

// Filters each row with the filter whose output has the smallest sum of magnitudes, the usual
// guess at what compresses best. `stride` is the bytes per row, `step` the bytes per pixel
// (at least 1, as PNG rounds it for small bit depths).
Bytes FilterRows(std::span<const std::uint8_t> raw, std::size_t stride, std::size_t step) {
  const std::size_t rows = raw.size() / stride;
  Bytes out;
  out.reserve(rows * (stride + 1));
  const Bytes zero_row(stride, 0);
  Bytes candidate(stride);
  Bytes best(stride);
  for (std::size_t y = 0; y < rows; ++y) {
    const std::uint8_t* row = raw.data() + y * stride;
    const std::uint8_t* up = y > 0 ? row - stride : zero_row.data();
    long best_cost = -1;
    int best_filter = 0;
    for (int filter = 0; filter < 5; ++filter) {
      long cost = 0;
      for (std::size_t x = 0; x < stride; ++x) {
        const int left = x >= step ? row[x - step] : 0;
        const int up_left = x >= step ? up[x - step] : 0;
        int predicted = 0;
        switch (filter) {
          case 1:
            predicted = left;
            break;
          case 2:
            predicted = up[x];
            break;
          case 3:
            predicted = (left + up[x]) / 2;
            break;
          case 4:
            predicted = Paeth(left, up[x], up_left);
            break;
          default:
            break;
        }
        candidate[x] = static_cast<std::uint8_t>(row[x] - predicted);
        cost += std::abs(static_cast<std::int8_t>(candidate[x]));
      }
      if (best_cost < 0 || cost < best_cost) {
        best_cost = cost;
        best_filter = filter;
        best.swap(candidate);
      }
    }
    out.push_back(static_cast<std::uint8_t>(best_filter));
    out.insert(out.end(), best.begin(), best.end());
  }
  return out;
}

struct PngLayout {
  int size;         // width and height
  int bit_depth;    // bits per sample
  int colour_type;  // 3 palette, 6 RGBA
};

Bytes EncodePng(const PngLayout& layout, std::span<const std::uint8_t> raw_rows,
                std::span<const std::uint8_t> palette_chunk,
                std::span<const std::uint8_t> transparency_chunk) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  PutU32Be(header, static_cast<std::uint32_t>(layout.size));
  PutU32Be(header, static_cast<std::uint32_t>(layout.size));
  header.push_back(static_cast<std::uint8_t>(layout.bit_depth));
  header.push_back(static_cast<std::uint8_t>(layout.colour_type));
  header.insert(header.end(), {0, 0, 0});  // deflate, adaptive filtering, no interlace
  PutPngChunk(png, "IHDR", header);
  if (!palette_chunk.empty()) PutPngChunk(png, "PLTE", palette_chunk);
  if (!transparency_chunk.empty()) PutPngChunk(png, "tRNS", transparency_chunk);
  const std::size_t stride = raw_rows.size() / static_cast<std::size_t>(layout.size);
  const int bits_per_pixel = layout.bit_depth * (layout.colour_type == 6 ? 4 : 1);
  const std::size_t step = std::max(1, bits_per_pixel / 8);
  PutPngChunk(png, "IDAT", ZlibCompress(FilterRows(raw_rows, stride, step)));
  PutPngChunk(png, "IEND", {});
  return png;
}

// ---------------------------------------------------------------------------------------------
// Images and the drawing

struct Rgba {
  std::uint8_t r, g, b, a;
};

struct Image {
  int size = 0;
  std::vector<Rgba> pixels;  // rows top down, straight (not premultiplied) alpha
  const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y * size + x)]; }
};

// Pixels at or above this alpha are part of the icon where a depth has no partial transparency.
constexpr int kOpaqueThreshold = 128;

bool IsOpaque(const Rgba& pixel) { return pixel.a >= kOpaqueThreshold; }

struct Vec {
  double x, y;
};

struct Box {
  double left, top, right, bottom;
};

// Signed distance from p to a box with rounded corners: negative inside.
double BoxDistance(Vec p, const Box& box, double radius) {
  const double half_width = (box.right - box.left) / 2, half_height = (box.bottom - box.top) / 2;
  const double qx = std::abs(p.x - (box.left + half_width)) - half_width + radius;
  const double qy = std::abs(p.y - (box.top + half_height)) - half_height + radius;
  return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
         radius;
}

// A four-pointed spark: |dx|^k + |dy|^k <= r^k with k < 1 pulls the sides in between the points.
bool InCurvedSpark(Vec p, Vec centre, double radius) {
  constexpr double kPinch = 0.62;
  const double dx = std::abs(p.x - centre.x) / radius, dy = std::abs(p.y - centre.y) / radius;
  if (dx > 1 || dy > 1) return false;
  return std::pow(dx, kPinch) + std::pow(dy, kPinch) <= 1;
}

// The spark reduced to a plus one pixel thick, for sizes where the curved one would be a blur.
bool InPixelSpark(Vec p, Vec centre, double radius) {
  const double dx = std::abs(p.x - centre.x), dy = std::abs(p.y - centre.y);
  return (dx <= 0.5 && dy <= radius) || (dy <= 0.5 && dx <= radius);
}

// Where everything sits at one pixel size, as fractions of it. Below 64 px the edges of the
// plug fall on whole pixels so that small icons stay sharp instead of grey at every edge.
struct Layout {
  Box tile;
  double tile_radius;
  Box prongs[2];
  double prong_radius;
  Box body;
  double body_radius;
  Box neck;              // from the body's full width at the top ...
  double neck_low_half;  // ... to this half width at the bottom
  Box cable;
  Vec spark;
  double spark_radius;
  bool pixel_spark;  // the plus instead of the curved spark
  bool details;      // the groove on the plug and the second, smaller spark
  Box groove;
  Vec small_spark;
  double small_spark_radius;
};

Layout LayOut(int pixels) {
  const double n = pixels;
  const bool hinted = pixels < 64;
  auto snap = [&](double fraction) { return hinted ? std::round(fraction * n) : fraction * n; };
  // Centres of a pixel, for shapes that are symmetric about one.
  auto snap_centre = [&](double fraction) {
    return hinted ? std::floor(fraction * n) + 0.5 : fraction * n;
  };
  Layout l{};
  const double margin = hinted ? std::floor(n / 16) : n / 16;
  l.tile = {margin, margin, n - margin, n - margin};
  l.tile_radius = 0.2 * (n - 2 * margin);

  // The plug stands left of centre; the spark takes the upper right.
  const double cx = snap(0.45);
  const double prong_inner = snap(0.06), prong_outer = snap(0.14);
  const double prong_top = snap(0.20), body_top = snap(0.37), body_bottom = snap(0.58);
  const double body_half = snap(0.20);
  l.prongs[0] = {cx - prong_outer, prong_top, cx - prong_inner, body_top + 1};
  l.prongs[1] = {cx + prong_inner, prong_top, cx + prong_outer, body_top + 1};
  l.prong_radius = hinted ? 0 : 0.02 * n;
  l.body = {cx - body_half, body_top, cx + body_half, body_bottom};
  l.body_radius = hinted ? std::min(1.0, 0.05 * n) : 0.05 * n;
  const double neck_bottom = snap(0.70), cable_half = std::max(1.0, snap(0.045));
  l.neck_low_half = snap(0.09);
  // A slope a pixel or two high is only grey steps; small sizes get a straight neck instead
  // (a box as wide as the neck's bottom).
  l.neck = hinted ? Box{cx - l.neck_low_half, body_bottom - 1, cx + l.neck_low_half, neck_bottom}
                  : Box{cx - body_half, body_bottom - l.body_radius, cx + body_half, neck_bottom};
  l.cable = {cx - cable_half, neck_bottom - 1, cx + cable_half, n};
  l.groove = {cx - body_half, 0.465 * n, cx + body_half, 0.495 * n};

  l.pixel_spark = pixels < 32;
  l.spark = {snap_centre(0.76), snap_centre(0.27)};
  l.spark_radius = l.pixel_spark ? std::floor(0.1 * n) + 0.5 : 0.13 * n;
  l.details = pixels >= 48;
  l.small_spark = {snap_centre(0.82), snap_centre(0.50)};
  l.small_spark_radius = 0.055 * n;
  return l;
}

struct Colour {
  double r, g, b;
};

struct Paint {
  Colour tile_top, tile_bottom, plug, groove, spark;
};

constexpr Paint kTrueColourPaint = {{0.09, 0.66, 0.66},  // teal
                                    {0.05, 0.22, 0.47},  // deep blue
                                    {1.0, 1.0, 1.0},
                                    {0.62, 0.80, 0.86},
                                    {1.0, 0.82, 0.25}};
// The palette images take one flat tile colour that their palette holds exactly: quantized, the
// gradient breaks into a few blocks of unrelated colour, and dithering is noise at these sizes.
constexpr Paint k16ColourPaint = {{0.0, 0.5, 0.5},  // the standard palette's teal
                                  {0.0, 0.5, 0.5},
                                  {1.0, 1.0, 1.0},
                                  {0.75, 0.75, 0.75},
                                  {1.0, 1.0, 0.0}};
constexpr Paint k256ColourPaint = {
    {0.0, 0.4, 0.6},  // the cube's colour nearest the gradient's middle
    {0.0, 0.4, 0.6},
    {1.0, 1.0, 1.0},
    {0.6, 0.8, 0.8},
    {1.0, 0.8, 0.2}};

bool InNeck(Vec p, const Layout& l) {
  if (p.y < l.neck.top || p.y > l.neck.bottom) return false;
  const double t = (p.y - l.neck.top) / (l.neck.bottom - l.neck.top);
  const double top_half = (l.neck.right - l.neck.left) / 2;
  const double half = top_half + (l.neck_low_half - top_half) * t;
  return std::abs(p.x - (l.neck.left + l.neck.right) / 2) <= half;
}

bool InPlug(Vec p, const Layout& l) {
  return BoxDistance(p, l.body, l.body_radius) <= 0 || InNeck(p, l) ||
         BoxDistance(p, l.cable, 0) <= 0 || BoxDistance(p, l.prongs[0], l.prong_radius) <= 0 ||
         BoxDistance(p, l.prongs[1], l.prong_radius) <= 0;
}

// The colour at one point, with its coverage (0 or 1).
struct Sample {
  Colour colour;
  double alpha;
};

Sample SampleAt(Vec p, const Layout& l, const Paint& paint) {
  if (BoxDistance(p, l.tile, l.tile_radius) > 0) return {{0, 0, 0}, 0};
  // The gradient runs from the top left corner to the bottom right one.
  const double t = std::clamp(((p.x - l.tile.left) + (p.y - l.tile.top)) /
                                  ((l.tile.right - l.tile.left) + (l.tile.bottom - l.tile.top)),
                              0.0, 1.0);
  const Colour& a = paint.tile_top;
  const Colour& b = paint.tile_bottom;
  Colour colour = {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
  const bool in_spark = l.pixel_spark ? InPixelSpark(p, l.spark, l.spark_radius)
                                      : InCurvedSpark(p, l.spark, l.spark_radius);
  if (in_spark || (l.details && InCurvedSpark(p, l.small_spark, l.small_spark_radius))) {
    colour = paint.spark;
  }
  if (InPlug(p, l)) {
    colour = l.details && BoxDistance(p, l.groove, 0) <= 0 ? paint.groove : paint.plug;
  }
  return {colour, 1};
}

std::uint8_t ToByte(double value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
}

// Anti-aliasing by supersampling: each pixel averages a grid of samples.
Image Draw(int pixels, const Paint& paint) {
  constexpr int kGrid = 8;
  const Layout layout = LayOut(pixels);
  Image image{pixels, std::vector<Rgba>(static_cast<std::size_t>(pixels * pixels))};
  for (int y = 0; y < pixels; ++y) {
    for (int x = 0; x < pixels; ++x) {
      double r = 0, g = 0, b = 0, alpha = 0;  // premultiplied sums
      for (int sy = 0; sy < kGrid; ++sy) {
        for (int sx = 0; sx < kGrid; ++sx) {
          const Vec p = {x + (sx + 0.5) / kGrid, y + (sy + 0.5) / kGrid};
          const Sample s = SampleAt(p, layout, paint);
          r += s.colour.r * s.alpha;
          g += s.colour.g * s.alpha;
          b += s.colour.b * s.alpha;
          alpha += s.alpha;
        }
      }
      Rgba& out = image.pixels[static_cast<std::size_t>(y * pixels + x)];
      if (alpha > 0) {
        out = {ToByte(r / alpha), ToByte(g / alpha), ToByte(b / alpha),
               ToByte(alpha / (kGrid * kGrid))};
      }
    }
  }
  return image;
}

// ---------------------------------------------------------------------------------------------
// Palettes

struct Rgb {
  std::uint8_t r, g, b;
};

struct Palette {
  std::vector<Rgb> colours;
  // Kept out of the quantizer so that a PNG can mark it transparent through tRNS; a DIB has its
  // AND mask for that instead.
  int transparent_index;
};

// The 16 colours every Windows display can show. Magenta, the old "transparent" key colour,
// gives its slot to transparency.
Palette StandardPalette16() {
  return {{{0, 0, 0},
           {128, 0, 0},
           {0, 128, 0},
           {128, 128, 0},
           {0, 0, 128},
           {128, 0, 128},
           {0, 128, 128},
           {192, 192, 192},
           {128, 128, 128},
           {255, 0, 0},
           {0, 255, 0},
           {255, 255, 0},
           {0, 0, 255},
           {255, 0, 255},
           {0, 255, 255},
           {255, 255, 255}},
          13};
}

// A 6x6x6 colour cube, 39 greys between its levels, and a last slot for transparency.
Palette StandardPalette256() {
  Palette palette{{}, 255};
  for (int r = 0; r < 6; ++r) {
    for (int g = 0; g < 6; ++g) {
      for (int b = 0; b < 6; ++b) {
        palette.colours.push_back({static_cast<std::uint8_t>(r * 51),
                                   static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51)});
      }
    }
  }
  for (int i = 1; i <= 39; ++i) {
    const auto grey = static_cast<std::uint8_t>((i * 255 + 20) / 40);
    palette.colours.push_back({grey, grey, grey});
  }
  palette.colours.push_back({0, 0, 0});
  return palette;
}

int NearestColour(const Palette& palette, double r, double g, double b) {
  int best = 0;
  double best_distance = -1;
  for (int i = 0; i < static_cast<int>(palette.colours.size()); ++i) {
    if (i == palette.transparent_index) continue;
    const Rgb& c = palette.colours[static_cast<std::size_t>(i)];
    // Weighted for the eye, which tells greens apart best and blues worst.
    const double distance =
        3 * (r - c.r) * (r - c.r) + 4 * (g - c.g) * (g - c.g) + 2 * (b - c.b) * (b - c.b);
    if (best_distance < 0 || distance < best_distance) {
      best_distance = distance;
      best = i;
    }
  }
  return best;
}

constexpr int kTransparentPixel = -1;

// One palette index per pixel, or kTransparentPixel.
std::vector<int> Quantize(const Image& image, const Palette& palette) {
  std::vector<int> indices;
  indices.reserve(image.pixels.size());
  for (const Rgba& p : image.pixels) {
    indices.push_back(IsOpaque(p) ? NearestColour(palette, p.r, p.g, p.b) : kTransparentPixel);
  }
  return indices;
}

// ---------------------------------------------------------------------------------------------
// Icon entries

std::size_t RowBytes(int pixels, int bits) {
  return static_cast<std::size_t>((pixels * bits + 31) / 32 * 4);  // DIB rows end on 4 bytes
}

// A DIB as icons store it: BITMAPINFOHEADER with the height doubled for the two bitmaps, the
// palette, the colour (XOR) bitmap, then the 1-bit AND mask where 1 lets the screen through.
// Both bitmaps run bottom up.
Bytes EncodeDib(const Image& image, int bits, const Palette* palette,
                const std::vector<int>& indices) {
  const int n = image.size;
  const std::size_t colour_row = RowBytes(n, bits), mask_row = RowBytes(n, 1);
  const std::size_t image_bytes = (colour_row + mask_row) * static_cast<std::size_t>(n);
  Bytes out;
  PutU32Le(out, 40);  // sizeof(BITMAPINFOHEADER)
  PutU32Le(out, static_cast<std::uint32_t>(n));
  PutU32Le(out, static_cast<std::uint32_t>(2 * n));
  PutU16Le(out, 1);  // planes
  PutU16Le(out, static_cast<unsigned>(bits));
  PutU32Le(out, 0);  // BI_RGB
  PutU32Le(out, static_cast<std::uint32_t>(image_bytes));
  PutU32Le(out, 0);  // pixels per metre, x and y: unused for icons
  PutU32Le(out, 0);
  PutU32Le(out, 0);  // colours used: 0 means all 2^bits
  PutU32Le(out, 0);  // colours important: all
  if (palette != nullptr) {
    for (const Rgb& c : palette->colours) out.insert(out.end(), {c.b, c.g, c.r, 0});
  }
  for (int y = n - 1; y >= 0; --y) {
    Bytes row(colour_row, 0);
    for (int x = 0; x < n; ++x) {
      const Rgba& p = image.At(x, y);
      if (bits == 32) {
        // Alpha stays straight: Windows does not expect premultiplied colour in icons.
        const Rgba c = p.a == 0 ? Rgba{0, 0, 0, 0} : p;
        std::copy_n(std::array<std::uint8_t, 4>{c.b, c.g, c.r, c.a}.begin(), 4, &row[x * 4]);
        continue;
      }
      // Under the mask the colour must be black (index 0), so XOR leaves the screen as it was.
      const int index = std::max(0, indices[static_cast<std::size_t>(y * n + x)]);
      if (bits == 8) {
        row[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(index);
      } else {
        row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(index << (x % 2 ? 0 : 4));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = n - 1; y >= 0; --y) {
    Bytes row(mask_row, 0);
    for (int x = 0; x < n; ++x) {
      if (!IsOpaque(image.At(x, y))) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

Bytes EncodeRgbaPng(const Image& image) {
  Bytes raw;
  raw.reserve(image.pixels.size() * 4);
  for (const Rgba& p : image.pixels) {
    // Hidden colour is zeroed so it neither varies nor costs space.
    const Rgba c = p.a == 0 ? Rgba{0, 0, 0, 0} : p;
    raw.insert(raw.end(), {c.r, c.g, c.b, c.a});
  }
  return EncodePng({image.size, 8, 6}, raw, {}, {});
}

Bytes EncodePalettePng(int pixels, int bits, const Palette& palette,
                       const std::vector<int>& indices) {
  const std::size_t stride = static_cast<std::size_t>((pixels * bits + 7) / 8);
  Bytes raw(stride * static_cast<std::size_t>(pixels), 0);
  for (int y = 0; y < pixels; ++y) {
    for (int x = 0; x < pixels; ++x) {
      int index = indices[static_cast<std::size_t>(y * pixels + x)];
      if (index == kTransparentPixel) index = palette.transparent_index;
      const std::size_t bit = static_cast<std::size_t>(x * bits);
      const int shift = 8 - bits - static_cast<int>(bit % 8);  // leftmost pixel in the high bits
      raw[y * stride + bit / 8] |= static_cast<std::uint8_t>(index << shift);
    }
  }
  Bytes plte;
  for (const Rgb& c : palette.colours) plte.insert(plte.end(), {c.r, c.g, c.b});
  // tRNS may stop at the last non-opaque entry; the rest count as opaque.
  Bytes trns(static_cast<std::size_t>(palette.transparent_index) + 1, 255);
  trns.back() = 0;
  return EncodePng({pixels, bits, 3}, raw, plte, trns);
}

struct IconEntry {
  int pixels;
  int bits;
  Bytes data;
};

// ICONDIR, then one ICONDIRENTRY per image, then the images in the same order.
Bytes BuildIco(const std::vector<IconEntry>& entries) {
  Bytes out;
  PutU16Le(out, 0);  // reserved
  PutU16Le(out, 1);  // 1 = icon (2 would be a cursor)
  PutU16Le(out, static_cast<unsigned>(entries.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (const IconEntry& e : entries) {
    const auto dimension = static_cast<std::uint8_t>(e.pixels >= 256 ? 0 : e.pixels);  // 0 = 256
    out.insert(out.end(), {dimension, dimension});
    out.push_back(e.bits == 4 ? 16 : 0);  // colour count, 0 for 256 colours or more
    out.push_back(0);                     // reserved
    PutU16Le(out, 1);                     // planes
    PutU16Le(out, static_cast<unsigned>(e.bits));
    PutU32Le(out, static_cast<std::uint32_t>(e.data.size()));
    PutU32Le(out, offset);
    offset += static_cast<std::uint32_t>(e.data.size());
  }
  for (const IconEntry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
  return out;
}

// 256 px entries are PNG, as Windows Vista and later read them; smaller ones stay DIBs so every
// reader of icons can show them.
IconEntry MakeEntry(int pixels, int bits) {
  constexpr int kPngFrom = 256;
  if (bits == 32) {
    const Image image = Draw(pixels, kTrueColourPaint);
    return {pixels, bits,
            pixels >= kPngFrom ? EncodeRgbaPng(image) : EncodeDib(image, 32, nullptr, {})};
  }
  const Image image = Draw(pixels, bits == 4 ? k16ColourPaint : k256ColourPaint);
  const Palette palette = bits == 4 ? StandardPalette16() : StandardPalette256();
  const std::vector<int> indices = Quantize(image, palette);
  return {pixels, bits,
          pixels >= kPngFrom ? EncodePalettePng(pixels, bits, palette, indices)
                             : EncodeDib(image, bits, &palette, indices)};
}

Bytes BuildProgramIco() {
  std::vector<IconEntry> entries;
  for (int bits : {4, 8, 32}) {
    for (int pixels : {16, 24, 32, 48, 256}) entries.push_back(MakeEntry(pixels, bits));
  }
  return BuildIco(entries);
}

bool WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) {
    std::cerr << "make_icons: cannot write " << path.string() << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_icons OUT_DIR\n";
    return 2;
  }
  const std::filesystem::path out_dir = argv[1];
  const std::string name = "plugin-generator";
  bool written = WriteFile(out_dir / (name + ".ico"), BuildProgramIco());
  for (int pixels : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string size = std::to_string(pixels) + "x" + std::to_string(pixels);
    written = WriteFile(out_dir / "hicolor" / size / "apps" / (name + ".png"),
                        EncodeRgbaPng(Draw(pixels, kTrueColourPaint))) &&
              written;
  }
  return written ? EXIT_SUCCESS : EXIT_FAILURE;
}
