#include "scripteddialogs.h"

namespace hollenby::ui {

void ScriptedDialogs::showMessage(const QString& text, MsgStyle style, QWidget* owner)
{
    const RecordedMessage message{text, kAppTitle, style, owner};
    if (onMessage)
        onMessage(message);
    messages.append(message);
}

void ScriptedDialogs::GetOpenFileName(OpenFileName& record)
{
    openFileRequests.append(record);
    if (m_fileAnswers.empty())
        return;
    const QString answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    if (!answer.isEmpty())
        record.lpstrFile = answer + QChar(0);
}

std::optional<QString> ScriptedDialogs::BrowseForFolder(QWidget* owner, const QString& prompt)
{
    folderPrompts.append(prompt);
    lastFolderOwner = owner;
    if (m_folderAnswers.empty())
        return std::nullopt;
    // Swapped out rather than copied: GCC 12 warns that a copied optional<QString> may be
    // uninitialised.
    std::optional<QString> answer;
    answer.swap(m_folderAnswers.front());
    m_folderAnswers.pop_front();
    return answer;
}

void ScriptedDialogs::EndProgram()
{
    ++endProgramCalls;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList all;
    for (const RecordedMessage& message : messages)
        all << message.text;
    return all;
}

void ScriptedDialogs::clear()
{
    messages.clear();
    openFileRequests.clear();
    folderPrompts.clear();
    endProgramCalls = 0;
}

} // namespace hollenby::ui
