// The raw text box gives back exactly the text it was given, before and after the user edits
// it, while showing only CR LF as a line break.

#include "rawtextedit.h"

#include <QTest>

using hollenby::ui::RawTextEdit;

namespace {

QString AllLatin1()
{
    QString text;
    for (int c = 0; c < 256; ++c)
        text += QChar(char16_t(c));
    return text;
}

// Types `keys` at the end of the box as a user would; "\n" is the Enter key.
void TypeAtEnd(RawTextEdit& edit, const QString& keys)
{
    edit.moveCursor(QTextCursor::End);
    for (const QChar key : keys) {
        if (key == u'\n')
            QTest::keyClick(&edit, Qt::Key_Return);
        else
            QTest::keyClicks(&edit, QString(key));
    }
}

} // namespace

class RawTextEditTest : public QObject
{
    Q_OBJECT

private slots:
    void givesBackWhatItWasGiven_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("shownLines");
        QTest::newRow("every 8-bit character") << AllLatin1() << 1;
        QTest::newRow("CR LF is a line break") << QStringLiteral("01,02\r\n03") << 2;
        QTest::newRow("lone CR is not") << QStringLiteral("01\r02") << 1;
        QTest::newRow("lone LF is not") << QStringLiteral("01\n02") << 1;
        QTest::newRow("CR before CR LF") << QStringLiteral("01\r\r\n02") << 2;
        QTest::newRow("LF CR is not") << QStringLiteral("01\n\r02") << 1;
        QTest::newRow("final CR LF opens an empty line") << QStringLiteral("01\r\n") << 2;
        QTest::newRow("NUL, tab and no-break space") << QString::fromLatin1("0\0001\t2\xa0"
                                                                            "3",
                                                                            7)
                                                     << 1;
        QTest::newRow("empty") << QString() << 1;
    }

    void givesBackWhatItWasGiven()
    {
        QFETCH(QString, text);
        QFETCH(int, shownLines);
        RawTextEdit edit(nullptr);
        edit.setExactText(text);
        QCOMPARE(edit.exactText(), text);
        QCOMPARE(edit.document()->blockCount(), shownLines);
        // After an edit the text is rebuilt from what the box shows: nothing else may change.
        TypeAtEnd(edit, QStringLiteral("x"));
        QCOMPARE(edit.exactText(), text + u'x');
    }

    void typedLineBreaksAreCrLf()
    {
        RawTextEdit edit(nullptr);
        edit.setExactText(QStringLiteral("01\r"));
        TypeAtEnd(edit, QStringLiteral("\n02\n"));
        QCOMPARE(edit.exactText(), QStringLiteral("01\r\r\n02\r\n"));
        // Setting the text again starts afresh, edits and all.
        edit.setExactText(QStringLiteral("03\n"));
        QCOMPARE(edit.exactText(), QStringLiteral("03\n"));
    }
};

QTEST_MAIN(RawTextEditTest)
#include "rawtextedit_test.moc"
