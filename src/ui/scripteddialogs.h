#pragma once
// Dialogs for tests: records every message box and answers file and folder choices from a
// script instead of asking anyone.

#include "dialogs.h"

#include <QList>

#include <deque>
#include <functional>

namespace hollenby::ui {

struct RecordedMessage
{
    QString text;
    QString title;
    MsgStyle style;
    QWidget* owner; // the window the box belongs to
};

class ScriptedDialogs : public Dialogs
{
public:
    void GetOpenFileName(OpenFileName& record) override;
    std::optional<QString> BrowseForFolder(QWidget* owner, const QString& prompt) override;
    void EndProgram() override;

    // Answers, used in order. An empty file answer, or std::nullopt for a folder, cancels.
    void answerOpenFile(const QString& path) { m_fileAnswers.push_back(path); }
    void answerFolder(std::optional<QString> path) { m_folderAnswers.push_back(std::move(path)); }

    // Runs when a message box would be shown, before it is recorded; a test can act "while the
    // box is open" here.
    std::function<void(const RecordedMessage&)> onMessage;

    QList<RecordedMessage> messages;
    QList<OpenFileName> openFileRequests; // the record as each dialog was shown
    QList<QString> folderPrompts;
    QWidget* lastFolderOwner = nullptr;
    int endProgramCalls = 0;

    QStringList texts() const;
    void clear();

private:
    void showMessage(const QString& text, MsgStyle style, QWidget* owner) override;

    std::deque<QString> m_fileAnswers;
    std::deque<std::optional<QString>> m_folderAnswers;
};

} // namespace hollenby::ui
