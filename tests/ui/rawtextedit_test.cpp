// The raw text box gives back exactly the text it was given, before and after the user edits
// it, while showing only CR LF as a line break.

#include "rawtextedit.h"

#include <QTest>

using hollenby::ui::RawTextEdit;

class RawTextEditTest : public QObject
{
    Q_OBJECT

private slots:
    void givesBackWhatItWasGiven_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("shownLines");
        QTest::addColumn<QString>("typed"); // at the end, as a user would; "\n" is the Enter key
        QString allLatin1;
        for (int c = 0; c < 256; ++c)
            allLatin1 += QChar(char16_t(c));
        // Among them NUL, tab, no-break space and a lone LF and CR, none of them a line break.
        QTest::newRow("every 8-bit character") << allLatin1 << 1 << "x";
        QTest::newRow("CR LF is a line break") << "01,02\r\n03" << 2 << "x";
        QTest::newRow("LF CR is not, nor a CR before CR LF") << "01\n\r\r\n02" << 2 << "x";
        QTest::newRow("final CR LF opens an empty line") << "01\r\n" << 2 << "x";
        QTest::newRow("Enter types CR LF, also after a lone CR") << "01\r" << 1 << "\n02\n";
    }

    void givesBackWhatItWasGiven()
    {
        QFETCH(QString, text);
        QFETCH(int, shownLines);
        QFETCH(QString, typed);
        RawTextEdit edit(nullptr);
        edit.setExactText(text);
        QCOMPARE(edit.exactText(), text);
        QCOMPARE(edit.document()->blockCount(), shownLines);
        // After an edit the text is rebuilt from what the box shows: nothing else may change.
        edit.moveCursor(QTextCursor::End);
        for (const QChar key : typed) {
            if (key == u'\n')
                QTest::keyClick(&edit, Qt::Key_Return);
            else
                QTest::keyClicks(&edit, QString(key));
        }
        QCOMPARE(edit.exactText(), text + QString(typed).replace("\n", "\r\n"));
    }
};

QTEST_MAIN(RawTextEditTest)
#include "rawtextedit_test.moc"
