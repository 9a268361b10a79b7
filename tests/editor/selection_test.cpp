// Choosing the level and the resources folder: typing into the real boxes and pressing Enter,
// the browse buttons with scripted answers, "Load Graphics", and every message on the way.

#include "selection.h"
#include "testsupport.h"

#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace hollenby;

namespace {

const std::string kLevel = "01,02\r\n03,04";
const std::string kLevel2 = "05,06,07";
const QString kCaption12 = QStringLiteral("Step 1 - File (12 bytes)");
const QString kCaption8 = QStringLiteral("Step 1 - File (8 bytes)");

QString Refused(const QString& reason)
{
    return QStringLiteral("info: Validation Error;\r\n\r\n") + reason;
}
const QString kNoName = Refused(QStringLiteral("Please type in a file name."));
const QString kNoFile = Refused(QStringLiteral("File Not Exists, please check location."));
const QString kNoFolder = Refused(QStringLiteral("Directory not exists"));
const QString kLoaded = QStringLiteral("info: Level parsed and loaded ok");
const QString kNotLoaded =
    QStringLiteral("warning: Validation Error; missing level or resources folder");
const QString kNoKey = QStringLiteral("warning: Validation Error;\r\n\r\nCould not load graphical "
                                      "KEY.  Please check that this is a valid resources folder.");

// The main window showing "@/level.lvl" with the 22-bitmap tile set "@/_resources" and its
// key. At hand: "@/level2.lvl" (another size and text) and "@/res2", whose 21.bmp adds a 23rd
// key element, so that a reload and a rebuilt key can be told from what was there.
struct Window : testing::MainWindowFixture
{
    Window()
    {
        testing::WriteBytes(path(QStringLiteral("level.lvl")), kLevel);
        testing::WriteBytes(path(QStringLiteral("level2.lvl")), kLevel2);
        testing::WriteBytes(path(QStringLiteral("my l\u00e9vel \u65e5.lvl")), kLevel2);
        for (const QString& folder : {QStringLiteral("res2"), QStringLiteral("r\u00e9s \u00fc")}) {
            testing::WriteTileSet(path(folder));
            testing::WriteBitmap(path(folder) + QStringLiteral("/21.bmp"), Qt::red);
        }
        type(*c().txtResLocation, resources());
        type(*c().txtFileLocation, at("@/level.lvl"));
        enter(*c().txtFileLocation);
        dialogs.clear();
    }

    // "@" stands for the temporary folder, "<long>" for a 4000-character path inside it.
    QString at(const QString& text) const
    {
        if (text == QLatin1String("<long>"))
            return (dir.path() + QStringLiteral("/folder").repeated(600)).left(4000);
        return QString(text).replace(QLatin1Char('@'), dir.path());
    }

    // Key by key, as a user types; a very long text is pasted.
    void type(ui::TextBox& box, const QString& text)
    {
        box.setText(QString());
        if (text.size() > 200)
            return box.setText(text);
        for (const QChar character : text) {
            // QTest has key codes for ASCII only; other characters arrive as typed text.
            if (character.unicode() < 128)
                QTest::keyClick(box.widget(), character.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, box.widget(), Qt::Key_unknown, QString(character),
                                    Qt::NoModifier);
        }
    }

    void enter(ui::TextBox& box, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(box.widget(), Qt::Key_Return, modifiers);
    }

    // Every message so far as "kind: text", flagged when its title is wrong.
    QStringList said() const
    {
        QStringList all;
        for (const ui::RecordedMessage& message : dialogs.messages) {
            const char* kind = message.style == ui::MsgStyle::Plain         ? "plain: "
                               : message.style == ui::MsgStyle::Exclamation ? "warning: "
                                                                            : "info: ";
            all << QLatin1String(kind) + message.text +
                       (message.title == ui::kAppTitle ? QString() : QStringLiteral(" [title]"));
        }
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
    void choices_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("res");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("messages");
        QTest::addColumn<QString>("changed");
        const QString R = QStringLiteral("@/_resources");
        const QString L2 = QStringLiteral("@/level2.lvl");
        const QString R2 = QStringLiteral("@/res2");
        const QString missingLevel =
            QStringLiteral(
                "plain: Error 53 (File not found) in procedure fnGoLevelRender of Form frmMain|") +
            kNotLoaded;
        auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };
        // clang-format off
        // Enter in the level box: a refused path changes nothing but the box.
        row("empty level path")           << "Enter level" << ""   << R << "" << kNoName << "";
        row("spaces only")                << "Enter level" << "   " << R << "" << kNoFile << "";
        row("a folder")                   << "Enter level" << "@" << R << "" << kNoFile << "";
        row("missing file")               << "Enter level" << "@/no.lvl" << R << "" << kNoFile << "";
        row("trailing separator")         << "Enter level" << L2 + "/" << R << "" << kNoFile << "";
        row("a device")                   << "Enter level" << "/dev/zero" << R << "" << kNoFile << "";
        row("4000 characters")            << "Enter level" << "<long>" << R << "" << kNoFile << "";
        row("level accepted")             << "Enter level" << L2 << R2 << "" << "" << "caption key level";
        row("with Shift")                 << "Shift+Enter level" << L2 << R2 << "" << "" << "caption key level";
        row("with Ctrl")                  << "Ctrl+Enter level" << L2 << R2 << "" << "" << "caption key level";
        row("other keys do nothing")      << "Escape level" << L2 << R2 << "" << "" << "";
        row("spaces and non-ASCII")       << "Enter level" << "@/my l\u00e9vel \u65e5.lvl" << R2 << "" << "" << "caption key level";
        row("empty resources box")        << "Enter level" << L2 << "" << "" << kNoKey << "caption";
        row("missing resources folder")   << "Enter level" << L2 << "@/no" << "" << "" << "caption level";
        // Enter in the resources box.
        row("empty resources path")       << "Enter res" << L2 << "" << "" << kNoFolder << "";
        row("resources: a file")          << "Enter res" << L2 << L2 << "" << kNoFolder << "";
        row("resources: missing")         << "Enter res" << L2 << "@/no" << "" << kNoFolder << "";
        row("resources: a device")        << "Enter res" << L2 << "/dev/null" << "" << kNoFolder << "";
        row("resources: 4000 characters") << "Enter res" << L2 << "<long>" << "" << kNoFolder << "";
        row("resources accepted")         << "Ctrl+Enter res" << L2 << R2 << "" << kLoaded << "key level";
        row("resources: trailing /")      << "Enter res" << L2 << R2 + "/" << "" << kLoaded << "key level";
        row("resources: non-ASCII")       << "Enter res" << L2 << "@/r\u00e9s \u00fc" << "" << kLoaded << "key level";
        row("resources, no level")        << "Enter res" << "" << R2 << "" << kNotLoaded << "key";
        // The browse buttons: the answer goes into its box before any test.
        row("open dialog cancelled")      << "browse level" << "" << R2 << "" << "" << "";
        row("opened, spaces trimmed")     << "browse level" << "" << R2 << "  " + L2 + "  " << "" << "caption key level";
        row("opened a new name")          << "browse level" << "" << R2 << "@/new.lvl" << kNoFile << "";
        row("picker cancelled")           << "browse res" << L2 << "kept" << "<cancel>" << "" << "";
        row("picked a file, quietly")     << "browse res" << L2 << "" << L2 << "" << "";
        row("picked nothing there")       << "browse res" << L2 << "" << "@/no" << "" << "";
        row("picked a folder")            << "browse res" << L2 << "" << R2 << kLoaded << "key level";
        row("picked, no level")           << "browse res" << "" << "" << R2 << kNotLoaded << "key";
        // "Load Graphics" reloads without touching the key or the caption.
        row("load both")                  << "Load Graphics" << L2 << R2 << "" << kLoaded << "level";
        row("load a missing level")       << "Load Graphics" << "@/no.lvl" << R2 << "" << missingLevel << "cleared";
        row("load with both empty")       << "Load Graphics" << "" << "" << "" << kNotLoaded << "";
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

        if (action == QLatin1String("browse level")) {
            w.dialogs.answerOpenFile(w.at(answer));
            c.cmdSelectFile->click();
            if (!w.at(answer).trimmed().isEmpty())
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
            const bool enter = !action.startsWith(QLatin1String("Escape"));
            QSignalSpy returns(static_cast<QLineEdit*>(box.widget()), &QLineEdit::returnPressed);
            QTest::keyClick(box.widget(), enter ? Qt::Key_Return : Qt::Key_Escape, modifiers);
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

    void sizeInTheCaption_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("caption");
        QTest::newRow("0") << 0LL << "Step 1 - File (0 bytes)";
        QTest::newRow("1023") << 1023LL << "Step 1 - File (1023 bytes)";
        QTest::newRow("1024") << 1024LL << "Step 1 - File (1.00 Kb)";
        QTest::newRow("1536") << 1536LL << "Step 1 - File (1.50 Kb)";
        QTest::newRow("1048576") << 1048576LL << "Step 1 - File (1.00 Mb)";
        QTest::newRow("1073741824") << 1073741824LL << "Step 1 - File (1.00 Gb)";
    }

    void sizeInTheCaption()
    {
        QFETCH(qint64, size);
        QFETCH(QString, caption);
        Window w;
        QFile level(w.path(QStringLiteral("sized.lvl")));
        QVERIFY(level.open(QIODevice::WriteOnly) && level.resize(size)); // sparse
        level.close();
        // With no resources folder nothing reads the file, however large.
        w.c().txtResLocation->setText(QString());
        w.type(*w.c().txtFileLocation, level.fileName());
        w.enter(*w.c().txtFileLocation);
        QCOMPARE(w.c().fmeStep1->Caption(), caption);
        QCOMPARE(w.said(), QStringList{kNoKey});
    }

    // The caption is set before the key is built, and the key before the level is loaded.
    void captionThenKeyThenLevel()
    {
        Window w;
        // Code 01 is not in level2, so only the key trips over it.
        QDir().mkpath(w.path(QStringLiteral("bad")));
        QVERIFY(testing::WriteBytes(w.path(QStringLiteral("bad/01.bmp")), "not a bitmap"));
        QString caption;
        QString raw = QStringLiteral("unset");
        w.dialogs.onMessage = [&](const ui::RecordedMessage&) {
            caption = w.c().fmeStep1->Caption();
            raw = w.c().txtLvlRaw->Text();
        };
        w.type(*w.c().txtResLocation, w.at("@/bad"));
        w.type(*w.c().txtFileLocation, w.at("@/level2.lvl"));
        w.enter(*w.c().txtFileLocation);
        QCOMPARE(w.said(),
                 QStringList{
                     "plain: Error 481 (Invalid picture) in procedure fnLoadKey of Form frmMain"});
        QCOMPARE(caption, kCaption8);
        QCOMPARE(raw, QString::fromStdString(kLevel));
        QCOMPARE(w.c().txtLvlRaw->Text(), QString::fromStdString(kLevel2));
    }

    // A failure that nothing below catches ends in the handler's own message.
    void failuresNameTheirHandler_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("failingMessage");
        QTest::newRow("level Enter") << "txtFileLocation_KeyDown" << kNoName;
        QTest::newRow("resources Enter") << "txtResLocation_KeyDown" << kNotLoaded;
        QTest::newRow("resources browse") << "cmdSelectRes_Click" << kNotLoaded;
    }

    void failuresNameTheirHandler()
    {
        QFETCH(QString, handler);
        QFETCH(QString, failingMessage);
        Window w;
        w.setPaths(QString(), w.resources());
        bool failed = false;
        w.dialogs.onMessage = [&](const ui::RecordedMessage& message) {
            if (!failed && message.text == failingMessage.section(QStringLiteral(": "), 1)) {
                failed = true;
                throw ui::RuntimeError(5, QStringLiteral("Invalid procedure call or argument"));
            }
        };
        if (handler == QLatin1String("txtFileLocation_KeyDown")) {
            w.enter(*w.c().txtFileLocation);
        } else if (handler == QLatin1String("txtResLocation_KeyDown")) {
            w.enter(*w.c().txtResLocation);
        } else {
            w.dialogs.answerFolder(w.resources());
            w.c().cmdSelectRes->click();
        }
        QVERIFY(failed);
        QCOMPARE(w.said(),
                 QStringList{"plain: Error 5 (Invalid procedure call or argument) in procedure " +
                             handler + " of Form frmMain"});
    }
};

QTEST_MAIN(SelectionTest)
#include "selection_test.moc"
