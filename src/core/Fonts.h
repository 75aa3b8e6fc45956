#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace corvane {

// A Windows face the templates and windows name, and the installed faces that stand in for it.
struct FaceStandIn {
    QString windowsFace;        // 宋体, 微软雅黑
    QString alias;              // the face's English name, which fonts dialogs may give
    QStringList families;       // installed families, in the order Qt tries them
    QString package;            // the Debian package that installs families.first()
};

// 宋体 gives every Latin letter, digit and sign half an em and every Han character a whole one;
// the boxes were sized for that, so its stand-in must keep the half-width Latin or numbers wrap
// and lose their last digits. AR PL UMing CN is a Ming face with exactly those advances.
// 微软雅黑 only types the banner, whose label takes its caption's width.
const QList<FaceStandIn>& faceStandIns();

// Maps the Windows faces to their stand-ins for every QFont made afterwards.
void installFontSubstitutions();

// The stand-ins missing from `installedFamilies` (the first family of each face).
QList<FaceStandIn> missingStandIns(const QStringList& installedFamilies);
// The message that names the missing faces and the packages to install; empty when none is
// missing. Where no installed face can show Chinese at all, the message would be boxes but for
// its package names, so an English sentence follows. Uses the font database when no list is given.
QString missingFontsMessage();
QString missingFontsMessage(const QStringList& installedFamilies, bool chineseShowable);
// Whether any installed face can show Simplified Chinese.
bool chineseTextShowable();

}
