#include "output/PdfTextRepair.h"

#include "core/Error.h"
#include "core/Fonts.h"

#include <QFile>
#include <QFont>
#include <QMap>
#include <QRawFont>
#include <QRegularExpression>
#include <QSaveFile>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <exception>
#include <functional>

namespace corvane {

namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
};

// What Qt may write instead of the character drawn, and what was drawn.
constexpr CodeRange suspectRanges[] = {{0x0000, 0x001F}, {0x2E80, 0x2FDF}, {0x31C0, 0x31EF}};
constexpr CodeRange preferredRanges[] = {{0x0020, 0x007E}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}};

QString rangeText(const CodeRange& range)
{
    QString text;
    for (char32_t c = range.first; c <= range.last; ++c)
        text += QChar(char16_t(c));
    return text;
}

void addFaceReplacements(const QRawFont& font, QHash<char32_t, char32_t>& replacements)
{
    if (!font.isValid())
        return;
    QHash<quint32, char32_t> preferredByGlyph;
    for (const CodeRange& range : preferredRanges) {
        const QList<quint32> glyphs = font.glyphIndexesForString(rangeText(range));
        for (int i = 0; i < glyphs.size(); ++i) {
            if (glyphs.at(i) != 0 && !preferredByGlyph.contains(glyphs.at(i)))
                preferredByGlyph.insert(glyphs.at(i), range.first + char32_t(i));
        }
    }
    for (const CodeRange& range : suspectRanges) {
        const QList<quint32> glyphs = font.glyphIndexesForString(rangeText(range));
        for (int i = 0; i < glyphs.size(); ++i) {
            const char32_t code = range.first + char32_t(i);
            const auto preferred = preferredByGlyph.constFind(glyphs.at(i));
            if (glyphs.at(i) != 0 && preferred != preferredByGlyph.cend() && !replacements.contains(code))
                replacements.insert(code, *preferred);
        }
    }
}

QByteArray hexUtf16(const QString& text)
{
    QByteArray hex = "<";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

QString utf16FromHex(const QByteArray& hex)
{
    QString text;
    for (int i = 0; i + 4 <= hex.size(); i += 4)
        text += QChar(char16_t(hex.mid(i, 4).toUInt(nullptr, 16)));
    return text;
}

struct Token {
    enum Kind { Hex, Open, Close, Word } kind;
    QByteArray text;
};

QList<Token> tokens(const QByteArray& body)
{
    QList<Token> list;
    for (int i = 0; i < body.size();) {
        const char c = body.at(i);
        if (c == '<') {
            const int end = body.indexOf('>', i);
            if (end < 0)
                break;
            list.append(Token{Token::Hex, body.mid(i + 1, end - i - 1).simplified().replace(' ', "")});
            i = end + 1;
        } else if (c == '[' || c == ']') {
            list.append(Token{c == '[' ? Token::Open : Token::Close, QByteArray()});
            ++i;
        } else if (QChar::isSpace(uchar(c))) {
            ++i;
        } else {
            int end = i;
            while (end < body.size() && !QChar::isSpace(uchar(body.at(end))) && body.at(end) != '<'
                   && body.at(end) != '[' && body.at(end) != ']')
                ++end;
            list.append(Token{Token::Word, body.mid(i, end - i)});
            i = end;
        }
    }
    return list;
}

// The bfchar and bfrange entries of a CMap's body: source code -> destination text.
// False when the body holds something this reader does not know.
bool readMappings(const QByteArray& body, QMap<uint, QString>& mappings, int& codeBytes)
{
    const QList<Token> list = tokens(body);
    enum { None, Chars, Ranges } section = None;
    for (int i = 0; i < list.size();) {
        const Token& t = list.at(i);
        if (t.kind == Token::Word) {
            if (t.text == "beginbfchar")
                section = Chars;
            else if (t.text == "beginbfrange")
                section = Ranges;
            else if (t.text == "endbfchar" || t.text == "endbfrange")
                section = None;
            else if (section != None)
                return false;
            ++i;
            continue;
        }
        if (section == Chars) {
            if (i + 1 >= list.size() || t.kind != Token::Hex || list.at(i + 1).kind != Token::Hex)
                return false;
            codeBytes = int(t.text.size()) / 2;
            mappings.insert(t.text.toUInt(nullptr, 16), utf16FromHex(list.at(i + 1).text));
            i += 2;
        } else if (section == Ranges) {
            if (i + 2 >= list.size() || t.kind != Token::Hex || list.at(i + 1).kind != Token::Hex)
                return false;
            codeBytes = int(t.text.size()) / 2;
            const uint low = t.text.toUInt(nullptr, 16);
            const uint high = list.at(i + 1).text.toUInt(nullptr, 16);
            if (high < low || high - low > 0xFFFF)
                return false;
            if (list.at(i + 2).kind == Token::Hex) {
                // One destination, its last code unit counting up over the range.
                QString destination = utf16FromHex(list.at(i + 2).text);
                if (destination.isEmpty())
                    return false;
                for (uint code = low; code <= high; ++code) {
                    mappings.insert(code, destination);
                    destination.back() = QChar(char16_t(destination.back().unicode() + 1));
                }
                i += 3;
            } else if (list.at(i + 2).kind == Token::Open) {
                int k = i + 3;
                uint code = low;
                while (k < list.size() && list.at(k).kind == Token::Hex) {
                    mappings.insert(code++, utf16FromHex(list.at(k).text));
                    ++k;
                }
                if (k >= list.size() || list.at(k).kind != Token::Close)
                    return false;
                i = k + 1;
            } else {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

}

const QHash<char32_t, char32_t>& PdfTextRepair::replacements()
{
    static const QHash<char32_t, char32_t> table = [] {
        QHash<char32_t, char32_t> built;
        for (const FaceStandIn& face : faceStandIns()) {
            for (const QString& family : face.families) {
                for (const bool bold : {false, true}) {
                    QFont font(family);
                    font.setPixelSize(16);
                    font.setBold(bold);
                    addFaceReplacements(QRawFont::fromFont(font), built);
                }
            }
        }
        // Radicals that no installed face draws like an ideograph still fold to the ideograph
        // they stand for.
        for (char32_t code = 0x2F00; code <= 0x2FD5; ++code) {
            const QString folded = QString(QChar(char16_t(code))).normalized(QString::NormalizationForm_KC);
            if (!built.contains(code) && folded.size() == 1)
                built.insert(code, folded.at(0).unicode());
        }
        return built;
    }();
    return table;
}

QByteArray PdfTextRepair::repairCMap(const QByteArray& cmap, const QHash<char32_t, char32_t>& replacements)
{
    return repairedCMap(cmap, [&replacements]() -> const QHash<char32_t, char32_t>& { return replacements; });
}

namespace {

bool suspect(char32_t code)
{
    for (const CodeRange& range : suspectRanges)
        if (code >= range.first && code <= range.last)
            return true;
    return false;
}

}

// The table is asked for only when the map holds a character that may need replacing: most
// batches print none, and building the table loads every face the program prints with.
QByteArray PdfTextRepair::repairedCMap(const QByteArray& cmap,
                                       const std::function<const QHash<char32_t, char32_t>&()>& table)
{
    static const QRegularExpression firstSection(QStringLiteral("\\d+\\s+beginbf(char|range)"));
    static const QRegularExpression sectionEnd(QStringLiteral("endbf(char|range)"));
    const QString text = QString::fromLatin1(cmap);
    const QRegularExpressionMatch first = firstSection.match(text);
    if (!first.hasMatch())
        return {};
    qsizetype end = -1;
    for (QRegularExpressionMatchIterator it = sectionEnd.globalMatch(text, first.capturedStart()); it.hasNext();)
        end = it.next().capturedEnd();
    if (end < 0)
        return {};

    // The entry counts before the sections are words outside any section and are skipped.
    const QByteArray body = cmap.mid(first.capturedStart(), end - first.capturedStart());
    QMap<uint, QString> mappings;
    int codeBytes = 2;
    if (!readMappings(body, mappings, codeBytes))
        return {};

    bool changed = false;
    const QHash<char32_t, char32_t>* replacementsFound = nullptr;
    for (auto it = mappings.begin(); it != mappings.end(); ++it) {
        QString& destination = it.value();
        // Code 0 is the subset's missing-glyph box, never a character to give back.
        if (destination.size() != 1 || !suspect(destination.at(0).unicode()) || it.key() == 0)
            continue;
        if (!replacementsFound)
            replacementsFound = &table();
        const QHash<char32_t, char32_t>& replacements = *replacementsFound;
        const auto replacement = replacements.constFind(destination.at(0).unicode());
        if (replacement != replacements.cend()) {
            destination = QString(QChar(char16_t(*replacement)));
            changed = true;
        }
    }
    if (!changed)
        return {};

    QByteArray sections;
    QList<std::pair<uint, QString>> entries;
    for (auto it = mappings.cbegin(); it != mappings.cend(); ++it)
        entries.append({it.key(), it.value()});
    for (qsizetype start = 0; start < entries.size(); start += 100) {
        const qsizetype count = qMin<qsizetype>(100, entries.size() - start);
        sections += QByteArray::number(count) + " beginbfchar\n";
        for (qsizetype k = start; k < start + count; ++k) {
            sections += '<' + QByteArray::number(entries.at(k).first, 16).rightJustified(codeBytes * 2, '0').toUpper()
                        + "> " + hexUtf16(entries.at(k).second) + '\n';
        }
        sections += "endbfchar\n";
    }
    return cmap.left(first.capturedStart()) + sections + cmap.mid(end).trimmed() + '\n';
}

namespace {

// The objects that font dictionaries name as their ToUnicode maps ("/ToUnicode 12 0 R"). Qt writes
// dictionaries as plain text, so the file is read in pieces instead of being parsed whole: a
// 20,000-page batch stays a few megabytes of memory.
QList<std::pair<int, int>> toUnicodeReferences(QFile& file)
{
    static const QByteArray key = "/ToUnicode";
    QList<std::pair<int, int>> found;
    const qint64 overlap = 64;
    QByteArray carried;
    file.seek(0);
    while (!file.atEnd()) {
        const QByteArray chunk = carried + file.read(1 << 20);
        for (qsizetype at = chunk.indexOf(key); at >= 0; at = chunk.indexOf(key, at + 1)) {
            // "/ToUnicode" number generation "R"
            const QList<QByteArray> words = chunk.mid(at + key.size(), 40).simplified().split(' ');
            bool numberOk = false;
            bool generationOk = false;
            if (words.size() >= 3 && words.at(2).startsWith('R')) {
                const int number = words.at(0).toInt(&numberOk);
                const int generation = words.at(1).toInt(&generationOk);
                if (numberOk && generationOk && !found.contains(std::pair{number, generation}))
                    found.append({number, generation});
            }
        }
        carried = chunk.right(overlap);
        if (carried.contains(key))
            carried = carried.mid(carried.lastIndexOf(key));   // completed with the next piece
        else
            carried.clear();
    }
    return found;
}

// Where the file's last cross-reference section starts ("startxref" near its end).
qint64 lastCrossReference(QFile& file)
{
    const qint64 tail = qMin<qint64>(file.size(), 1024);
    file.seek(file.size() - tail);
    const QByteArray end = file.read(tail);
    const qsizetype at = end.lastIndexOf("startxref");
    if (at < 0)
        return -1;
    bool ok = false;
    const qint64 offset = end.mid(at + 9).simplified().split(' ').value(0).toLongLong(&ok);
    return ok ? offset : -1;
}

}

int PdfTextRepair::repairFile(const QString& fileName, Update update)
{
    const auto failed = [&fileName](const QString& cause) {
        return Error(QStringLiteral("PDF 文件“%1”中的文字未能修正：%2").arg(fileName, cause));
    };
    QFile original(fileName);
    if (!original.open(QIODevice::ReadOnly))
        throw failed(original.errorString());
    const QList<std::pair<int, int>> references = toUnicodeReferences(original);
    if (references.isEmpty())
        return 0;

    struct Replacement {
        int number;
        int generation;
        QByteArray cmap;
        qint64 offset = 0;
    };
    QList<Replacement> replaced;
    QByteArray trailerEntries;
    try {
        // qpdf reads the cross-references and only the objects asked for, from the mapped file
        // (read through its own file reader, a large file costs tens of thousands of seeks).
        const uchar* mapped = original.map(0, original.size());
        if (!mapped)
            throw failed(original.errorString());
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile(QFile::encodeName(fileName).constData(), reinterpret_cast<const char*>(mapped),
                              size_t(original.size()));
        for (const auto& [number, generation] : references) {
            QPDFObjectHandle map = pdf.getObjectByID(number, generation);
            if (!map.isStream())
                continue;
            const std::shared_ptr<Buffer> data = map.getStreamData(qpdf_dl_generalized);
            const QByteArray repaired = repairedCMap(
                QByteArray(reinterpret_cast<const char*>(data->getBuffer()), qsizetype(data->getSize())),
                replacements);
            if (!repaired.isNull())
                replaced.append({number, generation, repaired});
        }
        QPDFObjectHandle trailer = pdf.getTrailer();
        for (const char* key : {"/Size", "/Root", "/Info", "/ID"}) {
            if (trailer.hasKey(key))
                trailerEntries += QByteArray(key) + ' ' + QByteArray::fromStdString(trailer.getKey(key).unparse()) + ' ';
        }
    } catch (const std::exception& e) {
        throw failed(QString::fromLocal8Bit(e.what()));
    }
    if (replaced.isEmpty())
        return 0;
    const qint64 previous = lastCrossReference(original);
    if (previous < 0)
        throw failed(QStringLiteral("没有交叉引用表"));
    char lastByte = '\n';
    if (original.size() > 0 && (!original.seek(original.size() - 1) || !original.getChar(&lastByte)))
        throw failed(original.errorString());

    // An incremental update: the file as written, then the new maps, a cross-reference section
    // for them and a trailer that points back to the previous one.
    QSaveFile replacement(fileName);
    QFile appended(fileName);
    QFileDevice& file = update == Update::Append ? static_cast<QFileDevice&>(appended) : replacement;
    if (!file.open(update == Update::Append ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly))
        throw failed(file.errorString());
    // Where the next byte lands in the updated file (an appended file's own position is not
    // its end until the first write).
    qint64 written = update == Update::Append ? original.size() : 0;
    const auto put = [&](const QByteArray& bytes) {
        if (file.write(bytes) != bytes.size())
            throw failed(file.errorString());
        written += bytes.size();
    };
    if (update == Update::Replace) {
        original.seek(0);
        while (!original.atEnd()) {
            const QByteArray piece = original.read(1 << 20);
            if (piece.isEmpty())
                throw failed(original.errorString());
            put(piece);
        }
    }
    if (lastByte != '\n')
        put("\n");
    for (Replacement& r : replaced) {
        r.offset = written;
        put(QByteArray::number(r.number) + ' ' + QByteArray::number(r.generation) + " obj\n<< /Length "
            + QByteArray::number(r.cmap.size()) + " >>\nstream\n" + r.cmap + "\nendstream\nendobj\n");
    }
    const qint64 crossReference = written;
    QByteArray section = "xref\n";
    for (const Replacement& r : replaced) {
        section += QByteArray::number(r.number) + " 1\n"
                   + QByteArray::number(r.offset).rightJustified(10, '0') + ' '
                   + QByteArray::number(r.generation).rightJustified(5, '0') + " n\r\n";
    }
    section += "trailer\n<< " + trailerEntries + "/Prev " + QByteArray::number(previous) + " >>\nstartxref\n"
               + QByteArray::number(crossReference) + "\n%%EOF\n";
    put(section);
    if (update == Update::Append ? !appended.flush() : !replacement.commit())
        throw failed(file.errorString());
    return int(replaced.size());
}

}
