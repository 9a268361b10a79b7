#include "levelkey.h"

#include "dialogs.h"
#include "mdlutils.h"
#include "resourcefiles.h"
#include "runtimeerror.h"

namespace hollenby::editor {

using ui::RuntimeError;

namespace {

constexpr int kLastCode = 99;
constexpr int kWarnOpenCode = 98;
constexpr int kWarnFunnelCode = 99;

// The cursor's start, the step between entries and columns, and the last top a column takes
// before the next one starts: 14 entries a column.
constexpr float kFirstLeft = 9795;
constexpr float kFirstTop = 615;
constexpr float kRowStep = 615;
constexpr float kColumnStep = 1600;
constexpr float kLastRowTop = 8100;
constexpr float kLabelOffset = 615;
constexpr float kLabelWidth = 900;

const QString kWarnOpen = QStringLiteral("bmpOBJ_WarnOpen.bmp");
const QString kWarnFunnel = QStringLiteral("bmpOBJ_WarnFunnel.bmp");

} // namespace

LevelKey::LevelKey(MainControls& controls, ui::Dialogs& dialogs) : m_c(controls), m_dialogs(dialogs)
{}

void LevelKey::fnLoadKey(const QString& resFolder)
{
    if (resFolder.isEmpty()) {
        m_dialogs.MsgBox(QStringLiteral("Validation Error;\r\n\r\nCould not load graphical KEY.  "
                                        "Please check that this is a valid resources folder."),
                         ui::MsgStyle::Exclamation);
        return;
    }
    const QString prefix = resFolder + QLatin1Char('\\');
    try {
        float x = kFirstLeft;
        float y = kFirstTop;
        for (int n = 1; n <= kLastCode; ++n) {
            const QString own = QStringLiteral("%1.bmp").arg(n, 2, 10, QLatin1Char('0'));
            // A code is present through its own file; 98 and 99 also through their named
            // warning bitmaps, which are asked for along with every code.
            const bool hasOwn = utils::FileExists(ui::ResourceFilePath(prefix + own));
            const bool hasWarnOpen = utils::FileExists(ui::ResourceFilePath(prefix + kWarnOpen));
            const bool hasWarnFunnel =
                utils::FileExists(ui::ResourceFilePath(prefix + kWarnFunnel));
            if (!hasOwn && !(n == kWarnOpenCode && hasWarnOpen) &&
                !(n == kWarnFunnelCode && hasWarnFunnel))
                continue;

            // Element 1 exists from the start; the others are made on first need and reused.
            ui::Image& entryImage = m_c.imgKEY->LoadOrGet(n);
            ui::Label& entryLabel = m_c.lblKEY->LoadOrGet(n);
            const QString tag = QString::number(n);
            entryImage.setLeft(x);
            entryLabel.setLeft(x + kLabelOffset);
            entryImage.setTop(y);
            entryLabel.setTop(y);
            entryImage.setVisible(true);
            entryLabel.setVisible(true);
            entryImage.setTag(tag);
            entryLabel.setTag(tag);
            entryLabel.setWidth(kLabelWidth);

            const QString shown = n == kWarnOpenCode     ? kWarnOpen
                                  : n == kWarnFunnelCode ? kWarnFunnel
                                                         : own;
            try {
                entryImage.setPicture(ui::LoadResourcePicture(prefix + shown));
            } catch (const RuntimeError& error) {
                // A named bitmap that is missing (98 or 99 present through 98.bmp or 99.bmp)
                // leaves the image with the picture it had.
                if (error.number() != RuntimeError::kFileNotFound)
                    throw;
            }
            entryLabel.setCaption(shown);

            if (y < kLastRowTop) {
                y += kRowStep;
            } else {
                y = kFirstTop;
                x += kColumnStep;
            }
        }
    } catch (...) {
        const RuntimeError error = ui::CurrentRuntimeError();
        m_dialogs.MsgBox(
            ui::ErrorText(error, QStringLiteral("fnLoadKey"), QStringLiteral("Form frmMain")),
            ui::MsgStyle::Plain);
    }
}

} // namespace hollenby::editor
