// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of a recording's comments and signatures, shared by the report, workbook and
// comparison.
#include "export/reviewtexts.h"

#include "export/wallclocktext.h"

#include <QDateTime>

bool ReviewTexts::shows(const LoadedRecording &recording)
{
    // A recording built in memory has no fingerprint, and so no review of its own.
    return !recording.sha256.isEmpty() && recording.review.sha256 == recording.sha256 &&
           !recording.review.isEmpty();
}

QString ReviewTexts::timeText(const QString &utc)
{
    const QDateTime time = QDateTime::fromString(utc, Qt::ISODateWithMs);
    if (!time.isValid())
        return utc;
    const QDateTime local = time.toLocalTime();
    const int offset = local.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) +
           QLatin1Char(offset < 0 ? '-' : '+') +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString ReviewTexts::meaningText(const ReviewSignature &signature, bool english)
{
    const QString own = english ? signature.title : signature.titleZh;
    if (!own.isEmpty())
        return own;
    const QString other = english ? signature.titleZh : signature.title;
    if (!other.isEmpty())
        return other;
    const QString &meaning = signature.meaning;
    if (meaning == QLatin1String("reviewed"))
        return tr("审核");
    if (meaning == QLatin1String("approved"))
        return tr("批准");
    if (meaning == QLatin1String("rejected"))
        return tr("拒绝");
    if (meaning == review::revokeMeaning)
        return tr("撤销");
    return meaning;
}

std::optional<qint64> ReviewTexts::excursionSecs(const QString &excursion)
{
    // Wall-clock time without a zone: read as it reads, like every sample time.
    const QDate date = QDate::fromString(excursion.left(10), Qt::ISODate);
    const QTime time = QTime::fromString(excursion.mid(11, 8), Qt::ISODate);
    if (excursion.size() < 19 || excursion.at(10) != QLatin1Char('T') || !date.isValid() ||
        !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC).toSecsSinceEpoch();
}

QString ReviewTexts::excursionText(const QString &excursion)
{
    if (excursion.isEmpty())
        return tr("整个记录");
    const std::optional<qint64> secs = excursionSecs(excursion);
    if (!secs)
        return excursion;
    return wallclocktext::date(*secs) + QLatin1Char(' ') + wallclocktext::time(*secs);
}

QStringList ReviewTexts::commentParagraphs(const ReviewComment &comment)
{
    if (isNote(comment))
        return {tr("备注：%1").arg(comment.note)};
    QStringList paragraphs;
    if (!comment.reason.isEmpty())
        paragraphs << tr("原因：%1").arg(comment.reason);
    if (!comment.action.isEmpty())
        paragraphs << tr("纠正措施：%1").arg(comment.action);
    return paragraphs;
}

QString ReviewTexts::commentText(const ReviewComment &comment)
{
    return commentParagraphs(comment).join(QStringLiteral("; "));
}

QString ReviewTexts::subjectText(const ReviewComment &comment)
{
    return isNote(comment) ? tr("备注") : excursionText(comment.excursion);
}
