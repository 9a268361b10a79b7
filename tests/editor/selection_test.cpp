// Choosing the level and the resources folder: typing into the real boxes and pressing Enter,
// the browse buttons with scripted answers, "Load Graphics", and every message on the way.

#include "selection.h"
#include "testsupport.h"

#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <utility>

using namespace hollenby;

namespace {

const std::string kLevel = "01,02\r\n03,04";
const std::string kLevel2 = "05,06,07";
const QString kCaption12 = QStringLiteral("Step 1 - File (12 bytes)");
const QString kCaption8 = QStringLiteral("Step 1 - File (8 bytes)");

const QString kRefused = QStringLiteral("info: Validation Error;\r\n\r\n");
const QString kNoName = kRefused + QStringLiteral("Please type in a file name.");
const QString kNoFile = kRefused + QStringLiteral("File Not Exists, please check location.");
const QString kNoFolder = kRefused + QStringLiteral("Directory not exists");
const QString kLoaded = QStringLiteral("info: Level parsed and loaded ok");
const QString kNotLoaded =
    QStringLiteral("warning: Validation Error; missing level or resources folder");
const QString kNoKey = QStringLiteral("warning: Validation Error;\r\n\r\nCould not load graphical "
                                      "KEY.  Please check that this is a valid resources folder.");

// The window showing "@/level.lvl" with the 22-bitmap "@/_resources". At hand, named with spaces
// and non-ASCII: a level of another size and text, and a tile set whose 21.bmp adds a 23rd key
// element, so a reload and a rebuilt key can be told apart.
struct Window : testing::MainWindowFixture
{
    Window()
    {
        testing::WriteBytes(path(QStringLiteral("my l\u00e9vel \u65e5.lvl")), kLevel2);
        testing::WriteTileSet(path(QStringLiteral("r\u00e9s \u00fc")));
        testing::WriteBitmap(path(QStringLiteral("r\u00e9s \u00fc/21.bmp")), Qt::red);
        writeLevel(kLevel);
        enter(*c().txtFileLocation);
        dialogs.clear();
    }

    // "@" stands for the temporary folder.
    QString at(const QString& text) const { return QString(text).replace('@', dir.path()); }

    // Key by key, as a user types (as text: QTest's key codes cover ASCII only).
    void type(ui::TextBox& box, const QString& text)
    {
        box.setText(QString());
        for (const QChar character : text)
            QTest::sendKeyEvent(QTest::Click, box.widget(), Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
    }

    void enter(ui::TextBox& box) { QTest::keyClick(box.widget(), Qt::Key_Return); }

    // Every message so far as "kind: text".
    QStringList said() const
    {
        QStringList all;
        for (const ui::RecordedMessage& message : dialogs.messages)
            all << QLatin1String(message.style == ui::MsgStyle::Plain         ? "plain: "
                                 : message.style == ui::MsgStyle::Exclamation ? "warning: "
                                                                              : "info: ") +
                       message.text;
        return all;
    }
};

} // namespace

class SelectionTest : public QObject
{
    Q_OBJECT

private slots:
    // Each row: an action on boxes holding `level` and `res`, with a dialog `answer`; the
    // messages it gives ("|" between them), and which of the Step 1 caption, the key and the
    // level (or "cleared": the raw text emptied) changed from what the window showed before.
    // Where an "Error 5" is expected, the first message fails with it and nothing below catches
    // it, so the handler reports it under its own name.
    void choices_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("res");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<QString>("changed");
        const QString R = QStringLiteral("@/_resources");
        const QString L2 = QStringLiteral("@/my l\u00e9vel \u65e5.lvl");
        const QString R2 = QStringLiteral("@/r\u00e9s \u00fc");
        auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
        const QString fails = QStringLiteral(
            "plain: Error 5 (Invalid procedure call or argument) in procedure %1 of Form frmMain");
        // clang-format off
        row("empty level path")        << "Enter level" << ""   << R << "" << kNoName << "";
        row("spaces only: not empty")  << "Enter level" << "   " << R << "" << kNoFile << "";
        row("keypad Enter, Shift")     << "Shift+Keypad level" << L2 << R2 << "" << "" << "caption key level";
        row("other keys do nothing")   << "Escape level" << L2 << R2 << "" << "" << "";
        row("empty resources box")     << "Enter level" << L2 << "" << "" << kNoKey << "caption";
        row("empty resources path")    << "Enter res" << L2 << "" << "" << kNoFolder << "";
        row("res keypad, Ctrl")        << "Ctrl+Keypad res" << L2 << R2 << "" << kLoaded << "key level";
        row("resources, no level")     << "Enter res" << "" << R2 << "" << kNotLoaded << "key";
        row("open dialog cancelled")   << "browse level" << "" << R2 << "" << "" << "";
        row("opened, spaces trimmed")  << "browse level" << "" << R2 << "  " + L2 + "  " << "" << "caption key level";
        row("picker cancelled")        << "browse res" << L2 << "kept" << "<cancel>" << "" << "";
        row("picked a file, quietly")  << "browse res" << L2 << "" << L2 << "" << "";
        row("picked a folder")         << "browse res" << L2 << "" << R2 << kLoaded << "key level";
        row("load both")               << "Load Graphics" << L2 << R2 << "" << kLoaded << "level";
        row("load a missing level")    << "Load Graphics" << "@/no.lvl" << R2 << "" << "plain: Error 53 (File not found) in procedure fnGoLevelRender of Form frmMain|" + kNotLoaded << "cleared";
        row("level Enter fails")       << "Enter level" << "" << R << "" << fails.arg("txtFileLocation_KeyDown") << "";
        row("resources Enter fails")   << "Enter res" << "" << R2 << "" << fails.arg("txtResLocation_KeyDown") << "key";
        row("resources browse fails")  << "browse res" << "" << "" << R2 << fails.arg("cmdSelectRes_Click") << "key";
        // clang-format on
    }

    void choices()
    {
        QFETCH(QString, action);
        QFETCH(QString, level);
        QFETCH(QString, res);
        QFETCH(QString, answer);
        QFETCH(QString, messages);
        QFETCH(QString, changed);
        Window w;
        auto& c = w.c();
        w.type(*c.txtResLocation, w.at(res));
        w.type(*c.txtFileLocation, w.at(level));
        QString levelBox = w.at(level);
        QString resBox = w.at(res);
        bool failed = !messages.startsWith(QLatin1String("plain: Error 5 "));
        w.dialogs.onMessage = [&](const ui::RecordedMessage&) {
            if (!std::exchange(failed, true))
                throw ui::RuntimeError(5, QStringLiteral("Invalid procedure call or argument"));
        };

        if (action == QLatin1String("browse level")) {
            w.dialogs.answerOpenFile(w.at(answer));
            c.cmdSelectFile->click();
            if (!answer.trimmed().isEmpty())
                levelBox = w.at(answer).trimmed();
            const ui::OpenFileName& shown = w.dialogs.openFileRequests.value(0);
            QCOMPARE(shown.lpstrTitle, QStringLiteral("Select Level to Render "));
            QCOMPARE(shown.lpstrFilter,
                     QStringLiteral("Hollenby Level") + QChar(0) + "*.lvl" + QChar(0));
            QCOMPARE(shown.lpstrDefExt, QStringLiteral("lvl"));
        } else if (action == QLatin1String("browse res")) {
            const bool cancel = answer == QLatin1String("<cancel>");
            w.dialogs.answerFolder(cancel ? std::nullopt : std::optional(w.at(answer)));
            c.cmdSelectRes->click();
            if (!cancel)
                resBox = w.at(answer);
            QCOMPARE(w.dialogs.folderPrompts, QList<QString>{QStringLiteral("Select a Folder")});
            QCOMPARE(w.dialogs.lastFolderOwner, w.main().form().window());
        } else if (action == QLatin1String("Load Graphics")) {
            c.cmdRefresh->click();
        } else {
            ui::TextBox& box =
                action.endsWith(QLatin1String("level")) ? *c.txtFileLocation : *c.txtResLocation;
            Qt::KeyboardModifiers modifiers;
            modifiers.setFlag(Qt::ShiftModifier, action.startsWith(QLatin1String("Shift+")));
            modifiers.setFlag(Qt::ControlModifier, action.startsWith(QLatin1String("Ctrl+")));
            const bool keypad = action.contains(QLatin1String("Keypad"));
            modifiers.setFlag(Qt::KeypadModifier, keypad);
            const bool enter = !action.startsWith(QLatin1String("Escape"));
            const Qt::Key key = !enter ? Qt::Key_Escape : keypad ? Qt::Key_Enter : Qt::Key_Return;
            QSignalSpy returns(static_cast<QLineEdit*>(box.widget()), &QLineEdit::returnPressed);
            QTest::keyClick(box.widget(), key, modifiers);
            QCOMPARE(returns.size(), enter ? 1 : 0); // the key still reaches the box
        }

        QCOMPARE(w.said().join(QLatin1Char('|')), messages);
        QCOMPARE(c.fmeStep1->Caption(),
                 changed.contains(QLatin1String("caption")) ? kCaption8 : kCaption12);
        QCOMPARE(c.imgKEY->Count(), changed.contains(QLatin1String("key")) ? 23 : 22);
        const std::string text = changed.contains(QLatin1String("level"))     ? kLevel2
                                 : changed.contains(QLatin1String("cleared")) ? std::string()
                                                                              : kLevel;
        QCOMPARE(c.txtLvlRaw->Text(), QString::fromStdString(text));
        QCOMPARE(c.txtFileLocation->Text(), levelBox);
        QCOMPARE(c.txtResLocation->Text(), resBox);
    }

    // The caption is set before the key is built, and the key before the level is loaded.
    void captionThenKeyThenLevel()
    {
        Window w;
        // Code 01 is not in the second level, so only the key trips over it.
        QDir().mkpath(w.path(QStringLiteral("bad")));
        QVERIFY(testing::WriteBytes(w.path(QStringLiteral("bad/01.bmp")), "not a bitmap"));
        QString caption;
        QString raw;
        w.dialogs.onMessage = [&](const ui::RecordedMessage&) {
            caption = w.c().fmeStep1->Caption();
            raw = w.c().txtLvlRaw->Text();
        };
        w.setPaths(w.at("@/my l\u00e9vel \u65e5.lvl"), w.at("@/bad"));
        w.enter(*w.c().txtFileLocation);
        QCOMPARE(w.said(),
                 QStringList{
                     "plain: Error 481 (Invalid picture) in procedure fnLoadKey of Form frmMain"});
        QCOMPARE(caption, kCaption8);
        QCOMPARE(raw, QString::fromStdString(kLevel));
        QCOMPARE(w.c().txtLvlRaw->Text(), QString::fromStdString(kLevel2));
    }
};

QTEST_MAIN(SelectionTest)
#include "selection_test.moc"
