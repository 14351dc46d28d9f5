// The design's fonts on Qt. "Small Fonts" is a small sans serif: DejaVu Sans (fonts-dejavu-core)
// is hinted for such sizes and stays legible at 9 pixels. "Palatino Linotype" has metric
// compatible clones: P052 (fonts-urw-base35) first, TeX Gyre Pagella (fonts-texgyre) if that is
// what the desktop has.
#include "platform/qt/design_fonts.h"

#include <array>

namespace plumwick {

namespace {

struct Substitution {
  const char* family;
  std::array<const char*, 2> stand_ins;
};

constexpr std::array<Substitution, 2> kSubstitutions{{
    {"Small Fonts", {"DejaVu Sans", "Nimbus Sans"}},
    {"Palatino Linotype", {"P052", "TeX Gyre Pagella"}},
}};

}  // namespace

QStringList DesignFontSubstitutes(const QString& family) {
  for (const Substitution& substitution : kSubstitutions) {
    if (family != QLatin1String(substitution.family)) continue;
    QStringList stand_ins;
    for (const char* stand_in : substitution.stand_ins) stand_ins << QString::fromLatin1(stand_in);
    return stand_ins;
  }
  return {};
}

void MapDesignFonts() {
  for (const Substitution& substitution : kSubstitutions) {
    const QString family = QString::fromLatin1(substitution.family);
    // Adds only what is missing, so a second window does not lengthen the lists.
    QFont::insertSubstitutions(family, DesignFontSubstitutes(family));
  }
}

QFont ToQFont(const FontDesign& design) {
  QFont font(QString::fromUtf8(design.family.data(), static_cast<qsizetype>(design.family.size())));
  font.setPixelSize(PixelSize(design.points));
  font.setWeight(static_cast<QFont::Weight>(design.weight));
  font.setItalic(design.italic);
  return font;
}

}  // namespace plumwick
