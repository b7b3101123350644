#pragma once
// Device contexts for pages and pictures: a PDF file (QPdfWriter) and an SVG picture
// (QSvgGenerator, music glyphs as outlines so the picture needs no font). A window or a QImage
// needs no helper: give its painter or the image to TQPainterContext. Each object owns its
// device and its context; Finish ends the painter and reports whether the output was written.

#include <QIODevice>
#include <QPdfWriter>
#include <QString>
#include <QSvgGenerator>
#include <memory>

#include "platform/qpainter_context.h"

namespace kvt {

class TPdfPageContext {
public:
  // An A4 portrait page at the given resolution, no margins.
  TPdfPageContext(const QString& file, int dpi);
  TQPainterContext& Context() { return *context; }
  // Starts a further page.
  bool NewPage() { return writer.newPage(); }
  bool Finish() { return context->Finish(); }

private:
  QPdfWriter writer;
  std::unique_ptr<TQPainterContext> context;
};

class TSvgPictureContext {
public:
  // A picture of widthPx x heightPx at the given resolution.
  TSvgPictureContext(const QString& file, int widthPx, int heightPx, int dpi);
  // The same written into out (open for writing, outliving the context).
  TSvgPictureContext(QIODevice& out, int widthPx, int heightPx, int dpi);
  TQPainterContext& Context() { return *context; }
  bool Finish() { return context->Finish(); }

private:
  void Setup(int widthPx, int heightPx, int dpi);

  QSvgGenerator generator;
  std::unique_ptr<TQPainterContext> context;
};

}  // namespace kvt
