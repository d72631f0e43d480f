// The printed program: one paragraph per editor line, "N<tab>text".
#pragma once

#include <QStringList>
#include <memory>

class QFont;
class QPrinter;
class QTextDocument;

// lines: the editor's line list (no empty last line after a final break).
[[nodiscard]] std::unique_ptr<QTextDocument> MakePrintDocument(const QStringList& lines,
                                                               const QFont& font);

// Prints the document as one job titled jobTitle over the printer's whole
// printable area; throws std::runtime_error when the printer cannot print.
void PrintProgram(QPrinter& printer, const QStringList& lines, const QFont& font,
                  const QString& jobTitle);
