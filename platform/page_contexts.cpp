#include "platform/page_contexts.h"

#include <QPageLayout>
#include <QPageSize>
#include <algorithm>

namespace kvt {

TPdfPageContext::TPdfPageContext(const QString& file, int dpi) : writer(file) {
  writer.setResolution(std::clamp(dpi, 72, 2400));
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
  writer.setCreator(QStringLiteral("kvt2"));
  context = std::make_unique<TQPainterContext>(writer);
}

TSvgPictureContext::TSvgPictureContext(const QString& file, int widthPx, int heightPx, int dpi) {
  generator.setFileName(file);
  Setup(widthPx, heightPx, dpi);
}

TSvgPictureContext::TSvgPictureContext(QIODevice& out, int widthPx, int heightPx, int dpi) {
  generator.setOutputDevice(&out);
  Setup(widthPx, heightPx, dpi);
}

void TSvgPictureContext::Setup(int widthPx, int heightPx, int dpi) {
  generator.setResolution(std::clamp(dpi, 1, 2400));
  generator.setSize(QSize(std::max(widthPx, 1), std::max(heightPx, 1)));
  generator.setViewBox(QRect(0, 0, std::max(widthPx, 1), std::max(heightPx, 1)));
  context = std::make_unique<TQPainterContext>(generator, true);
}

}  // namespace kvt
