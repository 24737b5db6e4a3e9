#include "platform/graphics/TFontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <climits>
#include <cmath>

namespace bw {

namespace {

// Where the default family normally lives, for a machine whose fontconfig finds nothing.
constexpr const char* kDefaultFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

constexpr size_t kMaxGlyphBytes = size_t{16} << 20;
constexpr size_t kMaxFaces = 64;

int32_t CeilDiv(int64_t a, int64_t b) {
  return static_cast<int32_t>((a + b - 1) / b);
}

}  // namespace

struct TFontFace::Impl {
  FT_Face Face = nullptr;
  String File;
  bool SynthBold = false;
  bool SynthItalic = false;
  int32_t Em = 11;
  int32_t CellHeight = 0;         // a positive TFont height: the metrics must add up to it
  TFontFace* Fallback = nullptr;  // the default face at the same size, for missing characters

  ~Impl() {
    if (Face) FT_Done_Face(Face);
  }
};

TFontFace::TFontFace(std::unique_ptr<Impl> impl) : FImpl(std::move(impl)) {
  const int32_t em = FImpl->Em;
  FT_Face f = FImpl->Face;
  if (!f) {
    // No font at all: plausible metrics so that layouts still work.
    FMetrics.tmAscent = CeilDiv(int64_t{em} * 93, 100);
    FMetrics.tmDescent = CeilDiv(int64_t{em} * 24, 100);
    FMetrics.tmHeight = FMetrics.tmAscent + FMetrics.tmDescent;
    FMetrics.tmInternalLeading = FMetrics.tmHeight - em;
    FMetrics.tmAveCharWidth = std::max(1, em / 2);
    FMetrics.tmMaxCharWidth = em;
    return;
  }
  const int64_t upem = f->units_per_EM ? f->units_per_EM : 2048;
  int64_t ascender = f->ascender, descender = -f->descender, gap = 0;
  int64_t avgWidth = 0;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2))) {
    if (os2->usWinAscent + os2->usWinDescent > 0) {
      ascender = os2->usWinAscent;
      descender = os2->usWinDescent;
    }
    avgWidth = os2->xAvgCharWidth;
  }
  if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA)))
    gap = std::max<int64_t>(
        0, hhea->Line_Gap + hhea->Ascender - hhea->Descender - ascender - descender);
  FMetrics.tmAscent = CeilDiv(ascender * em, upem);
  FMetrics.tmDescent = CeilDiv(descender * em, upem);
  if (FImpl->CellHeight > 0) {
    FMetrics.tmAscent = std::min(
        FImpl->CellHeight, int32_t((ascender * FImpl->CellHeight + (ascender + descender) / 2) /
                                   std::max<int64_t>(1, ascender + descender)));
    FMetrics.tmDescent = FImpl->CellHeight - FMetrics.tmAscent;
  }
  FMetrics.tmHeight = FMetrics.tmAscent + FMetrics.tmDescent;
  FMetrics.tmInternalLeading = std::max(0, FMetrics.tmHeight - em);
  FMetrics.tmExternalLeading = static_cast<int32_t>((gap * em + upem / 2) / upem);
  FMetrics.tmMaxCharWidth = CeilDiv(int64_t{f->max_advance_width} * em, upem);
  if (avgWidth > 0)
    FMetrics.tmAveCharWidth = static_cast<int32_t>((avgWidth * em + upem / 2) / upem);
  else
    FMetrics.tmAveCharWidth = Glyph(U'x').Advance;
  if (FImpl->SynthBold) {
    FMetrics.tmAveCharWidth += 1;
    FMetrics.tmMaxCharWidth += 1;
  }
  FUnderlinePos = std::max<int32_t>(
      1, static_cast<int32_t>(std::lround(-double(f->underline_position) * em / upem)));
  FLineThickness = std::max<int32_t>(
      1, static_cast<int32_t>(std::lround(double(f->underline_thickness) * em / upem)));
  FStrikePos = -std::max(1, int32_t(int64_t{FMetrics.tmAscent} * 3 / 10));
}

TFontFace::~TFontFace() = default;

const String& TFontFace::FileName() const {
  return FImpl->File;
}

const TGlyph& TFontFace::Glyph(Char c) {
  auto it = FGlyphs.find(c);
  if (it != FGlyphs.end()) return it->second;
  TGlyph g = Render(c);
  // Large sizes and texts of many different characters would otherwise grow the cache
  // without end; starting afresh is cheap next to that. Callers hold a glyph only until
  // they ask for the next one.
  if (FGlyphBytes + g.Coverage.size() > kMaxGlyphBytes) {
    FGlyphs.clear();
    FGlyphBytes = 0;
  }
  FGlyphBytes += g.Coverage.size();
  return FGlyphs.emplace(c, std::move(g)).first->second;
}

int32_t TFontFace::TextWidth(const String& text) {
  int32_t w = 0;
  for (Char c : TFontEngine::Decode(text))
    w += Glyph(c).Advance;
  return w;
}

TGlyph TFontFace::Render(Char c) {
  TGlyph g;
  FT_Face f = FImpl->Face;
  if (!f) {
    g.Advance = FMetrics.tmAveCharWidth;
    return g;
  }
  FT_UInt index = FT_Get_Char_Index(f, c);
  if (index == 0 && FImpl->Fallback && c >= 0x20) {
    if (FT_Get_Char_Index(FImpl->Fallback->FImpl->Face, c) != 0) return FImpl->Fallback->Render(c);
  }
  if (FT_Load_Glyph(f, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0)
    return g;
  FT_GlyphSlot slot = f->glyph;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE && FImpl->SynthItalic) {
    FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees
    FT_Outline_Transform(&slot->outline, &shear);
  }
  if (FImpl->SynthBold) FT_GlyphSlot_Embolden(slot);
  g.Advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
  if (c < 0x20 && c != U'\t') {
    g.Advance = 0;  // control characters take no room and draw nothing
    return g;
  }
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
  const FT_Bitmap& bm = slot->bitmap;
  g.Left = slot->bitmap_left;
  g.Top = slot->bitmap_top;
  g.Width = static_cast<int32_t>(bm.width);
  g.Height = static_cast<int32_t>(bm.rows);
  g.Coverage.resize(size_t(g.Width) * size_t(g.Height));
  for (int32_t y = 0; y < g.Height; ++y) {
    const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
    for (int32_t x = 0; x < g.Width; ++x) {
      uint8_t v =
          bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255 : row[x];
      g.Coverage[size_t(y) * size_t(g.Width) + size_t(x)] = v;
    }
  }
  return g;
}

TFontEngine& TFontEngine::Instance() {
  static TFontEngine engine;
  return engine;
}

TFontEngine::TFontEngine() {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) == 0) FLibrary = lib;
  FcInit();
}

TFontEngine::~TFontEngine() {
  FFaces.clear();
  if (FLibrary) FT_Done_FreeType(static_cast<FT_Library>(FLibrary));
  FcFini();
}

TFontEngine::Match TFontEngine::Find(const String& name, TFontStyles style, TFontPitch pitch) {
  auto key = std::make_tuple(name, style.Bits() & 3, int(pitch));
  auto it = FMatches.find(key);
  if (it != FMatches.end()) return it->second;

  const bool bold = style.Contains(fsBold), italic = style.Contains(fsItalic);
  Match m;
  if (FcPattern* pat = FcPatternCreate()) {
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    if (pitch == fpFixed) {
      FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>("monospace"));
      FcPatternAddInteger(pat, FC_SPACING, FC_MONO);
    }
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(DefaultFontName));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    if (FcPattern* found = FcFontMatch(nullptr, pat, &result)) {
      FcChar8* file = nullptr;
      if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
        m.File = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(found, FC_INDEX, 0, &m.Index);
        int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(found, FC_SLANT, 0, &slant);
        m.SynthBold = bold && weight < FC_WEIGHT_DEMIBOLD;
        m.SynthItalic = italic && slant == FC_SLANT_ROMAN;
      }
      FcPatternDestroy(found);
    }
    FcPatternDestroy(pat);
  }
  if (m.File.empty()) {
    m.File = kDefaultFontFile;
    m.SynthBold = bold;
    m.SynthItalic = italic;
  }
  FMatches.emplace(key, m);
  return m;
}

TFontFace* TFontEngine::Face(const String& name, TFontStyles style, TFontPitch pitch,
                             int32_t height) {
  // Underline and strike-out are drawn by the canvas; they share the face.
  style.Exclude(fsUnderline).Exclude(fsStrikeOut);
  auto key = std::make_tuple(name, style.Bits(), int(pitch), height);
  auto it = FFaces.find(key);
  if (it != FFaces.end()) return it->second.get();

  // Every size and family asked for would otherwise keep its face for good. Faces go all
  // at once, so no cached face is left pointing at a freed fallback; callers hold a face
  // only for the call at hand.
  if (FFaces.size() >= kMaxFaces) FFaces.clear();
  if (FMatches.size() >= kMaxFaces) FMatches.clear();
  Match m = Find(name, style, pitch);
  auto impl = std::make_unique<TFontFace::Impl>();
  impl->File = m.File;
  impl->SynthBold = m.SynthBold;
  impl->SynthItalic = m.SynthItalic;
  int32_t em = height < 0 ? int32_t(std::min<int64_t>(-int64_t{height}, INT32_MAX))
                          : (height == 0 ? 11 : height);
  FT_Face face = nullptr;
  if (FLibrary &&
      FT_New_Face(static_cast<FT_Library>(FLibrary), m.File.c_str(), m.Index, &face) == 0) {
    if (height > 0 && face->units_per_EM) {
      // A positive height is the cell height: scale the em so ascent + descent fit it.
      int64_t cell = int64_t{face->ascender} - face->descender;
      if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)))
        if (os2->usWinAscent + os2->usWinDescent > 0)
          cell = int64_t{os2->usWinAscent} + os2->usWinDescent;
      if (cell > 0)
        em = static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{height} * face->units_per_EM / cell, 1, 2048));
    }
    em = std::clamp(em, 1, 2048);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em)) != 0) {
      FT_Done_Face(face);
      face = nullptr;
    }
  }
  impl->Face = face;
  if (height > 0 && face) impl->CellHeight = height;
  impl->Em = std::clamp(em, 1, 2048);
  if (face && m.File != kDefaultFontFile && name != DefaultFontName)
    impl->Fallback = Face(DefaultFontName, {}, fpDefault, -impl->Em);
  auto* result = new TFontFace(std::move(impl));
  FFaces.emplace(key, std::unique_ptr<TFontFace>(result));
  return result;
}

std::u32string TFontEngine::Decode(const String& text) {
  std::u32string out;
  out.reserve(text.size());
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  size_t n = text.size(), i = 0;
  while (i < n) {
    unsigned char b = s[i];
    Char c;
    int extra;
    if (b < 0x80) {
      c = b;
      extra = 0;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F;
      extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07;
      extra = 3;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      // A sequence cut short by the end or by a non-continuation byte is one replacement
      // character; decoding goes on with the byte after the lead.
      if (i + k >= n || (s[i + k] & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      c = (c << 6) | (s[i + k] & 0x3F);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(c);
    i += extra + 1;
  }
  return out;
}

}  // namespace bw
