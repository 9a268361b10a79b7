#pragma once
// A progress line on stderr for long work, only when stderr is a terminal: scripts and file
// managers see nothing there but errors.

#include <QElapsedTimer>
#include <QString>

#include <cstdint>

namespace hollenby::cli {

class ProgressLine
{
public:
    // `label` names the work ("rendering level.lvl"); `total` is what done counts up to.
    ProgressLine(QString label, std::int64_t total);
    // Clears the line, so that what comes next starts on a clean one.
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Shown first after a moment (quick work shows nothing), then a few times a second.
    void update(std::int64_t done);

private:
    QString m_label;
    std::int64_t m_total;
    bool m_terminal;
    bool m_shown = false;
    QElapsedTimer m_started;
    qint64 m_lastShown = 0;
    std::int64_t m_percent = -1;
};

} // namespace hollenby::cli
