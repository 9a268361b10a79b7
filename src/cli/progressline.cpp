#include "progressline.h"

#include <cstdio>
#include <unistd.h>

namespace hollenby::cli {

namespace {

constexpr qint64 kFirstShowMs = 300;
constexpr qint64 kIntervalMs = 100;

} // namespace

ProgressLine::ProgressLine(QString label, std::int64_t total)
    : m_label(std::move(label)), m_total(total), m_terminal(::isatty(STDERR_FILENO) == 1)
{
    m_started.start();
}

ProgressLine::~ProgressLine()
{
    if (m_shown)
        std::fputs("\r\033[K", stderr);
}

void ProgressLine::update(std::int64_t done)
{
    if (!m_terminal || m_total <= 0)
        return;
    const qint64 now = m_started.elapsed();
    if (now < kFirstShowMs || (m_shown && now - m_lastShown < kIntervalMs))
        return;
    const std::int64_t percent = done * 100 / m_total;
    if (m_shown && percent == m_percent)
        return;
    m_shown = true;
    m_lastShown = now;
    m_percent = percent;
    const QByteArray line =
        QStringLiteral("\r%1: %2%\033[K").arg(m_label).arg(percent).toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
}

} // namespace hollenby::cli
