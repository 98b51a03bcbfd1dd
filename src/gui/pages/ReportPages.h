// The report on paper: its lines laid out on the pages of a printer or a PDF
// in a monospaced font, each page headed by the configuration's name and
// its number. The font is sized so that the longest line fits the page
// width: a line is never cut or wrapped, and a page ends only between lines.
#pragma once

#include <string>

#include "shell/PrintoutUi.h"

class QPagedPaintDevice;

namespace cfg::gui {

// Paints every page of the job on `device` (a QPrinter or a QPdfWriter).
// Returns the number of pages, 0 when the device could not be painted on.
int PaintReport(QPagedPaintDevice& device, const ReportPrintJob& job);

// Writes the job as an A4 PDF file. Needs a QGuiApplication. False when the
// file could not be written.
bool WriteReportPdf(const std::string& path, const ReportPrintJob& job);

}  // namespace cfg::gui
