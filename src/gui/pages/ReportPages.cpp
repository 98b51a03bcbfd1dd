#include "gui/pages/ReportPages.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "shell/SafeWrite.h"

namespace cfg::gui {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Wide enough for the widest list line; a narrower report keeps this size
// too, so that every printout has the same type size.
constexpr int kMinColumns = 80;
constexpr double kLargestPoints = 10.0;

}  // namespace

int PaintReport(QPagedPaintDevice& device, const ReportPrintJob& job) {
    QPainter painter;
    if (!painter.begin(&device)) return 0;

    const QRectF page(0, 0, device.width(), device.height());
    int columns = kMinColumns;
    for (const std::string& line : job.lines) columns = std::max(columns, static_cast<int>(Q(line).size()));

    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(kLargestPoints);
    // Shrink the type until the widest line fits the printable width.
    for (;;) {
        QFontMetricsF m(font, &device);
        if (m.horizontalAdvance(QString(columns, QLatin1Char('M'))) <= page.width() || font.pointSizeF() <= 4.0) break;
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    painter.setFont(font);
    QFontMetricsF m(font, &device);
    const double lineHeight = m.lineSpacing();
    const double headerHeight = 2.5 * lineHeight;
    const int linesPerPage = std::max(1, static_cast<int>((page.height() - headerHeight) / lineHeight));
    const int total = std::max<int>(1, (static_cast<int>(job.lines.size()) + linesPerPage - 1) / linesPerPage);

    for (int p = 0; p < total; ++p) {
        if (p > 0 && !device.newPage()) {
            painter.end();
            return 0;
        }
        QString number = Q(job.pageLabel) + " " + QString::number(p + 1) + "/" + QString::number(total);
        painter.drawText(QPointF(0, m.ascent()), Q(job.title));
        painter.drawText(QPointF(page.width() - m.horizontalAdvance(number), m.ascent()), number);
        double rule = 1.4 * lineHeight;
        painter.drawLine(QPointF(0, rule), QPointF(page.width(), rule));
        double y = headerHeight + m.ascent();
        const std::size_t first = static_cast<std::size_t>(p) * static_cast<std::size_t>(linesPerPage);
        const std::size_t last = std::min(job.lines.size(), first + static_cast<std::size_t>(linesPerPage));
        for (std::size_t i = first; i < last; ++i, y += lineHeight) painter.drawText(QPointF(0, y), Q(job.lines[i]));
    }
    painter.end();
    return total;
}

bool WriteReportPdf(const std::string& path, const ReportPrintJob& job) {
    // The PDF is laid out into a temporary beside the target and replaces
    // it only when whole: a full disk leaves the previous file.
    const std::string temporary = TemporaryPathFor(path);
    bool painted = false;
    {
        QPdfWriter writer(Q(temporary));
        writer.setTitle(Q(job.title));
        writer.setCreator(QStringLiteral("CFG-Veltrano"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                         QPageLayout::Millimeter));
        painted = PaintReport(writer, job) > 0;
    }
    // The writer reports no failed write: a whole PDF ends with its
    // end-of-file mark.
    QFile written(Q(temporary));
    bool whole = false;
    if (painted && written.open(QIODevice::ReadOnly) && written.size() > 16) {
        written.seek(std::max<qint64>(0, written.size() - 64));
        whole = written.readAll().contains("%%EOF");
    }
    written.close();
    if (!whole) {
        QFile::remove(Q(temporary));
        return false;
    }
    return !CommitTemporary(temporary, path);
}

}  // namespace cfg::gui
