#include "defaultfont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

namespace hollenby::ui {

namespace {

const QString kBitmapFace = QStringLiteral("MS Sans Serif");
const QString kScalableFace = QStringLiteral("Tahoma");

// Measured with the captions: Tahoma at 8.25 point runs up to 4.5 % wider than the bitmap face
// ("est play (sec's): 1475 at max speed" is 172 px against 165); at 95 % it stays within it.
constexpr int kScalableStretch = 95;

// fontconfig does not list the fonts of fonts-wine, so they are added to this program alone.
void LoadWineFonts()
{
    const QString folder = QStringLiteral("/usr/share/wine/fonts/");
    for (const char* file : {"ms_sans_serif.ttf", "tahoma.ttf", "tahomabd.ttf"})
        QFontDatabase::addApplicationFont(folder + QLatin1String(file));
}

bool Has(const QString& family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// One screen pixel to a pixel of the design, where the bitmap face's 13 px letters are 8 point.
bool AtDesignScale()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ||
           (screen->devicePixelRatio() == 1.0 && qRound(screen->logicalDotsPerInchY()) == 96);
}

QFont ChooseFont()
{
    LoadWineFonts();
    QFont font;
    if (Has(kBitmapFace) && (AtDesignScale() || QFontDatabase::isSmoothlyScalable(kBitmapFace))) {
        font.setFamily(kBitmapFace);
    } else if (Has(kScalableFace)) {
        font.setFamily(kScalableFace);
        font.setStretch(kScalableStretch);
    } else {
        // Without fonts-wine: a plain sans face, condensed towards the widths the captions need.
        font.setFamily(Has(QStringLiteral("DejaVu Sans")) ? QStringLiteral("DejaVu Sans")
                                                          : QStringLiteral("Sans Serif"));
        font.setStretch(QFont::SemiCondensed);
    }
    font.setPointSizeF(8.25);
    return font;
}

} // namespace

QFont DefaultFont(bool bold)
{
    static const QFont chosen = ChooseFont();
    QFont font = chosen;
    // The bitmap face has no bold letters, and Qt does not embolden bitmaps: the scalable face
    // draws bold text in its place.
    if (bold && font.family() == kBitmapFace &&
        !QFontDatabase::styles(kBitmapFace).contains(QStringLiteral("Bold")) &&
        Has(kScalableFace)) {
        font.setFamily(kScalableFace);
        font.setStretch(kScalableStretch);
    }
    font.setBold(bold);
    return font;
}

} // namespace hollenby::ui
