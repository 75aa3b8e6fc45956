#pragma once
#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>

namespace corvane {

// Qt's PDF writer gives each glyph of a font's ToUnicode map the lowest code point that the font
// maps to that glyph. The CJK faces draw the radicals (U+2E80 to U+2FDF) with the glyphs of the
// ideographs, so 大, 立 and 一 would be copied or searched as ⼤ (U+2F24), ⽴ and ⼀, and a space
// as a tab. After the file is written, each such entry is given back the character that shares
// its glyph; paper is not affected either way.
class PdfTextRepair {
public:
    // Code point found in a map -> the one to write instead, from the faces the program prints
    // with (the radicals that share an ideograph's glyph, control codes that share the space's).
    // Needs a QGuiApplication.
    static const QHash<char32_t, char32_t>& replacements();

    // A ToUnicode CMap with the replacements made, or a null array when none applies.
    static QByteArray repairCMap(const QByteArray& cmap, const QHash<char32_t, char32_t>& replacements);

    // How the update reaches the file: through a temporary file beside it that replaces it (the
    // file is left as it was when anything fails), or appended to the file itself (for a
    // temporary file that is thrown away when anything fails).
    enum class Update { Replace, Append };

    // Gives the PDF file new ToUnicode maps where they need it, as an incremental update; a failure
    // is an Error. Returns the number of maps rewritten.
    static int repairFile(const QString& fileName, Update update = Update::Replace);

private:
    static QByteArray repairedCMap(const QByteArray& cmap,
                                   const std::function<const QHash<char32_t, char32_t>&()>& table);
};

}
