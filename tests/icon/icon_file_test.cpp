// Reads the generated program icons back: the .ico's directory and images, and the theme PNGs.
#include <gtest/gtest.h>
#include <stdlib.h>  // mkdtemp

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path kIconDir = ICON_DIR;
const fs::path kIco = kIconDir / "plugin-generator.ico";
constexpr int kDibSizes[] = {16, 24, 32, 48};
constexpr int kDepths[] = {4, 8, 32};
constexpr int kThemeSizes[] = {16, 24, 32, 48, 64, 128, 256};

Bytes ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

fs::path ThemePng(int size) {
  const std::string dir = std::to_string(size) + "x" + std::to_string(size);
  return kIconDir / "hicolor" / dir / "apps" / "plugin-generator.png";
}

std::uint32_t U16Le(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | b[at + 1] << 8;
}
std::uint32_t U32Le(std::span<const std::uint8_t> b, std::size_t at) {
  return U16Le(b, at) | U16Le(b, at + 2) << 16;
}
std::uint32_t U32Be(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t{b[at]} << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

// Bit by bit, unlike the table of make_icons, so that both would have to be wrong the same way.
std::uint32_t Crc32(std::span<const std::uint8_t> data) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::uint8_t byte : data) {
    crc ^= byte;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
  }
  return ~crc;
}

std::uint32_t Adler32(std::span<const std::uint8_t> data) {
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

// ---------------------------------------------------------------------------------------------
// Inflate, for the two block types a simple compressor writes: stored and fixed Huffman codes.

class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> data) : data_(data) {}
  std::uint32_t Bits(int count) {  // least significant bit first
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
      if (position_ / 8 >= data_.size()) {
        overrun_ = true;
        return 0;
      }
      value |= ((data_[position_ / 8] >> (position_ % 8)) & 1u) << i;
      ++position_;
    }
    return value;
  }
  std::uint32_t Code(int length) {  // Huffman codes: most significant bit first
    std::uint32_t code = 0;
    for (int i = 0; i < length; ++i) code = code << 1 | Bits(1);
    return code;
  }
  void SkipToByte() { position_ = (position_ + 7) / 8 * 8; }
  bool overrun() const { return overrun_; }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t position_ = 0;
  bool overrun_ = false;
};

// The fixed literal/length code: 7-bit codes 0..23 are 256..279, 8-bit 48..191 are 0..143 and
// 192..199 are 280..287, 9-bit 400..511 are 144..255.
int FixedSymbol(BitReader& in) {
  std::uint32_t code = in.Code(7);
  if (code <= 23) return static_cast<int>(256 + code);
  code = code << 1 | in.Bits(1);
  if (code >= 48 && code <= 191) return static_cast<int>(code - 48);
  if (code >= 192 && code <= 199) return static_cast<int>(280 + code - 192);
  code = code << 1 | in.Bits(1);
  return static_cast<int>(144 + code - 400);
}

std::optional<Bytes> Inflate(std::span<const std::uint8_t> data) {
  static constexpr int kLengthBase[] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                        15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                        67, 83, 99, 115, 131, 163, 195, 227, 258};
  static constexpr int kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                         2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  static constexpr int kDistanceBase[] = {
      1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
      193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  BitReader in(data);
  Bytes out;
  for (bool last = false; !last;) {
    last = in.Bits(1) == 1;
    const std::uint32_t type = in.Bits(2);
    if (type == 0) {
      in.SkipToByte();
      const std::uint32_t length = in.Bits(16), complement = in.Bits(16);
      if ((length ^ 0xFFFF) != complement) return std::nullopt;
      for (std::uint32_t i = 0; i < length; ++i)
        out.push_back(static_cast<std::uint8_t>(in.Bits(8)));
    } else if (type == 1) {
      for (int symbol = FixedSymbol(in); symbol != 256 && !in.overrun(); symbol = FixedSymbol(in)) {
        if (symbol < 256) {
          out.push_back(static_cast<std::uint8_t>(symbol));
          continue;
        }
        if (symbol > 285) return std::nullopt;
        const int length =
            kLengthBase[symbol - 257] + static_cast<int>(in.Bits(kLengthExtra[symbol - 257]));
        const std::uint32_t distance_code = in.Code(5);
        if (distance_code > 29) return std::nullopt;
        const std::size_t distance =
            kDistanceBase[distance_code] +
            in.Bits(static_cast<int>(distance_code < 4 ? 0 : distance_code / 2 - 1));
        if (distance > out.size()) return std::nullopt;
        for (int i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
      }
    } else {
      return std::nullopt;  // dynamic codes, which make_icons does not write, or invalid
    }
    if (in.overrun()) return std::nullopt;
  }
  return out;
}

std::optional<Bytes> ZlibDecompress(std::span<const std::uint8_t> stream) {
  if (stream.size() < 6) return std::nullopt;
  const bool header_valid = (stream[0] & 0x0F) == 8 && (stream[0] * 256 + stream[1]) % 31 == 0 &&
                            (stream[1] & 0x20) == 0;  // no preset dictionary
  if (!header_valid) return std::nullopt;
  std::optional<Bytes> data = Inflate(stream.subspan(2, stream.size() - 6));
  if (!data || Adler32(*data) != U32Be(stream, stream.size() - 4)) return std::nullopt;
  return data;
}

// ---------------------------------------------------------------------------------------------
// Pictures, whatever they were stored as

struct Rgba {
  std::uint8_t r, g, b, a;
  bool operator==(const Rgba&) const = default;
};

struct Picture {
  int size = 0;
  std::vector<Rgba> pixels;  // rows top down
  std::vector<bool> masked;  // a DIB's AND mask, or a palette PNG's transparent pixels
  const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y * size + x)]; }
};

struct Png {
  std::uint32_t width = 0, height = 0;
  int bit_depth = 0, colour_type = 0;
  Bytes palette, transparency, compressed;
};

// Checks the signature, the chunk order and every chunk's CRC.
std::optional<Png> ParsePng(std::span<const std::uint8_t> file) {
  static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (file.size() < 8 || !std::equal(std::begin(kSignature), std::end(kSignature), file.begin())) {
    ADD_FAILURE() << "no PNG signature";
    return std::nullopt;
  }
  Png png;
  std::vector<std::string> types;
  for (std::size_t at = 8; at < file.size();) {
    if (file.size() - at < 12) return std::nullopt;
    const std::uint32_t length = U32Be(file, at);
    if (file.size() - at - 12 < length) return std::nullopt;
    const std::string type(file.begin() + at + 4, file.begin() + at + 8);
    const auto data = file.subspan(at + 8, length);
    if (Crc32(file.subspan(at + 4, length + 4)) != U32Be(file, at + 8 + length)) {
      ADD_FAILURE() << "bad CRC on " << type;
      return std::nullopt;
    }
    if (type == "IHDR" && length == 13) {
      png.width = U32Be(data, 0);
      png.height = U32Be(data, 4);
      png.bit_depth = data[8];
      png.colour_type = data[9];
    }
    Bytes* store = type == "PLTE"   ? &png.palette
                   : type == "tRNS" ? &png.transparency
                   : type == "IDAT" ? &png.compressed
                                    : nullptr;
    if (store != nullptr) store->insert(store->end(), data.begin(), data.end());
    types.push_back(type);
    at += 12 + length;
  }
  if (types.empty() || types.front() != "IHDR" || types.back() != "IEND") {
    ADD_FAILURE() << "chunks out of order";
    return std::nullopt;
  }
  return png;
}

std::uint8_t Unfilter(int filter, int left, int up, int up_left, std::uint8_t value) {
  int predicted = 0;
  if (filter == 1) predicted = left;
  if (filter == 2) predicted = up;
  if (filter == 3) predicted = (left + up) / 2;
  if (filter == 4) {
    const int p = left + up - up_left, a = std::abs(p - left), b = std::abs(p - up),
              c = std::abs(p - up_left);
    predicted = a <= b && a <= c ? left : b <= c ? up : up_left;
  }
  return static_cast<std::uint8_t>(value + predicted);
}

// Square RGBA or palette PNGs at 4 or 8 bits, the kinds make_icons writes.
std::optional<Picture> DecodePng(const Png& png) {
  const bool rgba = png.colour_type == 6 && png.bit_depth == 8;
  const bool indexed = png.colour_type == 3 && (png.bit_depth == 4 || png.bit_depth == 8);
  if (png.width != png.height || !(rgba || indexed)) return std::nullopt;
  const std::size_t size = png.width, bits = rgba ? 32 : static_cast<std::size_t>(png.bit_depth);
  const std::size_t stride = (size * bits + 7) / 8, step = std::max<std::size_t>(1, bits / 8);
  const std::optional<Bytes> filtered = ZlibDecompress(png.compressed);
  if (!filtered) {
    ADD_FAILURE() << "IDAT is no valid zlib stream";
    return std::nullopt;
  }
  if (filtered->size() != size * (stride + 1)) {
    ADD_FAILURE() << "IDAT holds " << filtered->size() << " bytes, not " << size * (stride + 1);
    return std::nullopt;
  }
  Bytes raw(size * stride);
  for (std::size_t y = 0; y < size; ++y) {
    const int filter = (*filtered)[y * (stride + 1)];
    if (filter > 4) return std::nullopt;
    for (std::size_t x = 0; x < stride; ++x) {
      const std::size_t i = y * stride + x;
      raw[i] = Unfilter(filter, x >= step ? raw[i - step] : 0, y > 0 ? raw[i - stride] : 0,
                        x >= step && y > 0 ? raw[i - stride - step] : 0,
                        (*filtered)[y * (stride + 1) + 1 + x]);
    }
  }
  Picture picture{static_cast<int>(size), {}, {}};
  for (std::size_t y = 0; y < size; ++y) {
    for (std::size_t x = 0; x < size; ++x) {
      const std::uint8_t* row = &raw[y * stride];
      if (rgba) {
        const std::uint8_t* p = row + x * 4;
        picture.pixels.push_back({p[0], p[1], p[2], p[3]});
        picture.masked.push_back(p[3] == 0);
        continue;
      }
      const std::size_t index = bits == 8 ? row[x] : (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
      if (index * 3 + 2 >= png.palette.size()) return std::nullopt;
      const std::uint8_t alpha = index < png.transparency.size() ? png.transparency[index] : 255;
      picture.pixels.push_back(
          {png.palette[index * 3], png.palette[index * 3 + 1], png.palette[index * 3 + 2], alpha});
      picture.masked.push_back(alpha == 0);
    }
  }
  return picture;
}

std::optional<Picture> LoadPng(std::span<const std::uint8_t> file) {
  const std::optional<Png> png = ParsePng(file);
  if (!png) return std::nullopt;
  return DecodePng(*png);
}

// A DIB as icons hold it: header, palette, colour bitmap and AND mask, both bottom up. Palette
// pixels come out opaque or, under the mask, fully transparent.
Picture DecodeDib(std::span<const std::uint8_t> dib) {
  const int size = static_cast<int>(U32Le(dib, 4));
  const int bits = static_cast<int>(U16Le(dib, 14));
  const std::size_t colours = bits <= 8 ? (U32Le(dib, 32) ? U32Le(dib, 32) : 1u << bits) : 0;
  const std::size_t colour_row = static_cast<std::size_t>((size * bits + 31) / 32 * 4);
  const std::size_t mask_row = static_cast<std::size_t>((size + 31) / 32 * 4);
  const std::size_t colour_start = 40 + colours * 4;
  const std::size_t mask_start = colour_start + colour_row * static_cast<std::size_t>(size);
  Picture picture{size, {}, {}};
  for (int y = 0; y < size; ++y) {
    const std::size_t row = static_cast<std::size_t>(size - 1 - y);
    for (int x = 0; x < size; ++x) {
      const std::size_t ux = static_cast<std::size_t>(x);
      const bool masked = (dib[mask_start + row * mask_row + ux / 8] >> (7 - ux % 8)) & 1;
      const std::uint8_t* line = &dib[colour_start + row * colour_row];
      std::size_t quad = 0;  // offset of the BGRA or palette RGBQUAD
      if (bits == 32) {
        quad = colour_start + row * colour_row + ux * 4;
      } else {
        const std::size_t index = bits == 8 ? line[ux] : (line[ux / 2] >> (ux % 2 ? 0 : 4)) & 0x0F;
        quad = 40 + index * 4;
      }
      const std::uint8_t alpha = bits == 32 ? dib[quad + 3] : masked ? 0 : 255;
      picture.pixels.push_back({dib[quad + 2], dib[quad + 1], dib[quad], alpha});
      picture.masked.push_back(masked);
    }
  }
  return picture;
}

// ---------------------------------------------------------------------------------------------
// The .ico

struct IcoEntry {
  int size;  // 256 where the directory says 0
  int bits;
  unsigned colour_count;
  std::span<const std::uint8_t> data;
};

class IcoFileTest : public testing::Test {
 protected:
  void SetUp() override {
    ico_ = ReadFile(kIco);
    ASSERT_GE(ico_.size(), 6u) << kIco;
    ASSERT_EQ(U16Le(ico_, 0), 0u);
    ASSERT_EQ(U16Le(ico_, 2), 1u) << "not an icon";
    const std::size_t count = U16Le(ico_, 4);
    ASSERT_GE(ico_.size(), 6 + 16 * count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t at = 6 + 16 * i;
      const std::uint32_t bytes = U32Le(ico_, at + 8), offset = U32Le(ico_, at + 12);
      ASSERT_LE(offset, ico_.size());
      ASSERT_LE(bytes, ico_.size() - offset) << "entry " << i << " runs past the file";
      EXPECT_EQ(ico_[at], ico_[at + 1]) << "entry " << i << " is not square";
      EXPECT_EQ(ico_[at + 3], 0) << "reserved byte of entry " << i;
      EXPECT_EQ(U16Le(ico_, at + 4), 1u) << "planes of entry " << i;
      entries_.push_back({ico_[at] == 0 ? 256 : ico_[at], static_cast<int>(U16Le(ico_, at + 6)),
                          ico_[at + 2], std::span(ico_).subspan(offset, bytes)});
    }
  }

  const IcoEntry* Find(int size, int bits) const {
    for (const IcoEntry& e : entries_) {
      if (e.size == size && e.bits == bits) return &e;
    }
    return nullptr;
  }

  Bytes ico_;
  std::vector<IcoEntry> entries_;
};

TEST_F(IcoFileTest, HoldsEveryDepthAtEverySizeOrderedByDepthThenSize) {
  std::vector<std::pair<int, int>> expected;  // (bits, size)
  for (int bits : kDepths) {
    for (int size : kDibSizes) expected.emplace_back(bits, size);
    expected.emplace_back(bits, 256);
  }
  std::vector<std::pair<int, int>> listed;
  for (const IcoEntry& e : entries_) listed.emplace_back(e.bits, e.size);
  EXPECT_EQ(listed, expected);
  for (const IcoEntry& e : entries_) {
    EXPECT_EQ(e.colour_count, e.bits == 4 ? 16u : 0u) << e.size << " px, " << e.bits << " bits";
  }
}

TEST_F(IcoFileTest, BitmapEntriesHaveConsistentHeaders) {
  for (int bits : kDepths) {
    for (int size : kDibSizes) {
      SCOPED_TRACE(testing::Message() << size << " px, " << bits << " bits");
      const IcoEntry* entry = Find(size, bits);
      ASSERT_NE(entry, nullptr);
      const auto dib = entry->data;
      ASSERT_GE(dib.size(), 40u);
      EXPECT_EQ(U32Le(dib, 0), 40u) << "biSize";
      EXPECT_EQ(U32Le(dib, 4), static_cast<std::uint32_t>(size)) << "biWidth";
      EXPECT_EQ(U32Le(dib, 8), static_cast<std::uint32_t>(2 * size)) << "biHeight";
      EXPECT_EQ(U16Le(dib, 12), 1u) << "biPlanes";
      EXPECT_EQ(U16Le(dib, 14), static_cast<std::uint32_t>(bits)) << "biBitCount";
      EXPECT_EQ(U32Le(dib, 16), 0u) << "biCompression";
      const std::uint32_t colours_used = U32Le(dib, 32);
      const std::size_t palette = bits == 32 ? 0 : std::size_t{1} << bits;
      EXPECT_TRUE(colours_used == 0 || colours_used == palette) << "biClrUsed " << colours_used;
      const std::size_t bitmaps =
          static_cast<std::size_t>(((size * bits + 31) / 32 * 4 + (size + 31) / 32 * 4) * size);
      const std::uint32_t image_size = U32Le(dib, 20);
      EXPECT_TRUE(image_size == 0 || image_size == bitmaps) << "biSizeImage " << image_size;
      EXPECT_EQ(dib.size(), 40 + palette * 4 + bitmaps) << "entry size";
    }
  }
}

TEST_F(IcoFileTest, LargeEntriesArePngsThatDecode) {
  struct Case {
    int bits, bit_depth, colour_type;
    std::size_t palette_entries;
  };
  const Case cases[] = {{4, 4, 3, 16}, {8, 8, 3, 256}, {32, 8, 6, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "256 px, " << c.bits << " bits");
    const IcoEntry* entry = Find(256, c.bits);
    ASSERT_NE(entry, nullptr);
    const std::optional<Png> png = ParsePng(entry->data);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 256u);
    EXPECT_EQ(png->height, 256u);
    EXPECT_EQ(png->bit_depth, c.bit_depth);
    EXPECT_EQ(png->colour_type, c.colour_type);
    EXPECT_EQ(png->palette.size(), 3 * c.palette_entries);
    if (c.palette_entries > 0) {
      EXPECT_FALSE(png->transparency.empty()) << "no tRNS";
    }
    EXPECT_TRUE(DecodePng(*png));
  }
}

TEST(ThemeIcons, ArePngsOfTheirSize) {
  for (int size : kThemeSizes) {
    SCOPED_TRACE(ThemePng(size));
    const std::optional<Png> png = ParsePng(ReadFile(ThemePng(size)));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, static_cast<std::uint32_t>(size));
    EXPECT_EQ(png->height, static_cast<std::uint32_t>(size));
    EXPECT_EQ(png->bit_depth, 8);
    EXPECT_EQ(png->colour_type, 6) << "not RGBA";
    EXPECT_TRUE(DecodePng(*png));
  }
}

// The icon is a tile with rounded corners and a margin: some pixels must be opaque, the centre
// among them, and the corners must be see-through.
void ExpectTileOnClearGround(const Picture& picture) {
  const int last = picture.size - 1;
  EXPECT_EQ(picture.At(picture.size / 2, picture.size / 2).a, 255) << "centre";
  for (auto [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
    EXPECT_EQ(picture.At(x, y).a, 0) << "corner " << x << "," << y;
  }
  std::set<std::uint8_t> alphas;
  for (const Rgba& p : picture.pixels) alphas.insert(p.a);
  EXPECT_GT(alphas.size(), 2u) << "no anti-aliased edge";
}

TEST_F(IcoFileTest, TrueColourImagesShowTheTileOnAClearGround) {
  for (int size : kDibSizes) {
    SCOPED_TRACE(testing::Message() << size << " px bitmap");
    const IcoEntry* entry = Find(size, 32);
    ASSERT_NE(entry, nullptr);
    ExpectTileOnClearGround(DecodeDib(entry->data));
  }
  const IcoEntry* large = Find(256, 32);
  ASSERT_NE(large, nullptr);
  std::vector<std::pair<std::string, Bytes>> pngs = {
      {"256 px entry", {large->data.begin(), large->data.end()}}};
  for (int size : kThemeSizes) pngs.emplace_back(ThemePng(size).string(), ReadFile(ThemePng(size)));
  for (const auto& [name, file] : pngs) {
    SCOPED_TRACE(name);
    const std::optional<Picture> picture = LoadPng(file);
    ASSERT_TRUE(picture);
    ExpectTileOnClearGround(*picture);
  }
}

// Every image of one size is the same drawing, whatever its depth and encoding: the 32-bit
// bitmap equals the theme PNG pixel for pixel, every mask is the half-alpha outline of the
// true-colour image, the colour under a palette image's mask is black (so the XOR bitmap leaves
// the screen alone), and the white of the plug is white in every palette image too. Mistakes in
// row order, channel order, nibble order or bit order of the mask all break one of these.
TEST_F(IcoFileTest, EveryEncodingOfASizeShowsTheSameDrawing) {
  for (int size : {16, 24, 32, 48, 256}) {
    SCOPED_TRACE(testing::Message() << size << " px");
    const std::optional<Picture> theme = LoadPng(ReadFile(ThemePng(size)));
    ASSERT_TRUE(theme);
    std::vector<bool> outline;
    for (const Rgba& p : theme->pixels) outline.push_back(p.a < 128);
    for (int bits : kDepths) {
      SCOPED_TRACE(testing::Message() << bits << " bits");
      const IcoEntry* entry = Find(size, bits);
      ASSERT_NE(entry, nullptr);
      const std::optional<Picture> picture =
          size == 256 ? LoadPng(entry->data) : std::optional(DecodeDib(entry->data));
      ASSERT_TRUE(picture);
      ASSERT_EQ(picture->pixels.size(), theme->pixels.size());
      if (bits == 32) {
        EXPECT_TRUE(picture->pixels == theme->pixels) << "differs from the theme PNG";
        if (size == 256) continue;  // a PNG has no mask
      }
      EXPECT_TRUE(picture->masked == outline) << "mask is not the outline";
      if (bits == 32) continue;
      for (std::size_t i = 0; i < theme->pixels.size(); ++i) {
        const Rgba& p = picture->pixels[i];
        const Rgba white = {255, 255, 255, 255};
        if (theme->pixels[i] == white) {
          ASSERT_EQ(p, white) << "pixel " << i << " of the plug";
        }
        if (size != 256 && picture->masked[i]) {
          ASSERT_TRUE(p.r == 0 && p.g == 0 && p.b == 0) << "colour under the mask at " << i;
        }
      }
    }
  }
}

// The build may skip or cache the step, so a second run must write the same bytes.
TEST(IconTool, WritesTheSameBytesOnEveryRun) {
  std::string scratch = (fs::temp_directory_path() / "icon_file_test.XXXXXX").string();
  ASSERT_NE(mkdtemp(scratch.data()), nullptr);
  const std::string command = std::string("'") + ICON_TOOL + "' '" + scratch + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  int files = 0;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(kIconDir)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), kIconDir);
    EXPECT_TRUE(ReadFile(entry.path()) == ReadFile(scratch / relative)) << relative;
    ++files;
  }
  EXPECT_EQ(files, 1 + static_cast<int>(std::size(kThemeSizes)));
  fs::remove_all(scratch);
}

}  // namespace
