#include "output/PdfTextRepair.h"

#include "app/Error.h"
#include "app/Fonts.h"

#include <QFile>
#include <QFont>
#include <QMap>
#include <QRawFont>
#include <QRegularExpression>
#include <QSaveFile>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <set>

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
    for (QString& destination : mappings) {
        if (destination.size() != 1)
            continue;
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

int PdfTextRepair::repairFile(const QString& fileName)
{
    const auto failed = [&fileName](const QString& cause) {
        return Error(QStringLiteral("PDF 文件“%1”中的文字未能修正：%2").arg(fileName, cause));
    };
    std::shared_ptr<Buffer> output;
    int rewritten = 0;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(fileName).constData());
        std::set<QPDFObjGen> seen;
        for (QPDFObjectHandle object : pdf.getAllObjects()) {
            if (!object.isDictionary() || !object.hasKey("/ToUnicode"))
                continue;
            QPDFObjectHandle map = object.getKey("/ToUnicode");
            if (!map.isStream() || !seen.insert(map.getObjGen()).second)
                continue;
            const std::shared_ptr<Buffer> data = map.getStreamData(qpdf_dl_generalized);
            const QByteArray repaired = repairCMap(
                QByteArray(reinterpret_cast<const char*>(data->getBuffer()), qsizetype(data->getSize())),
                replacements());
            if (repaired.isNull())
                continue;
            map.replaceStreamData(repaired.toStdString(), QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
            ++rewritten;
        }
        if (rewritten == 0)
            return 0;
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.write();
        output = writer.getBufferSharedPointer();
    } catch (const std::exception& e) {
        throw failed(QString::fromLocal8Bit(e.what()));
    }

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw failed(file.errorString());
    const qint64 size = qint64(output->getSize());
    if (file.write(reinterpret_cast<const char*>(output->getBuffer()), size) != size || !file.commit())
        throw failed(file.errorString());
    return rewritten;
}

}
