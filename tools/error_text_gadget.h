#pragma once
// TKVErrorTextGadget: a status-bar text field that shows its text in the normal look (green on
// the button face) or the error look (dark red on yellow). An empty text always shows on the
// button face. The text is plain text, never markup.

#include <QString>
#include <QWidget>

#include <cstdint>

namespace kvt {

class TKVErrorTextGadget : public QWidget {
public:
  // borderStyle: a TUIBorder style (0 none .. 10); alignment: Qt::AlignLeft, AlignHCenter or
  // AlignRight; characters: the width in average characters.
  TKVErrorTextGadget(int32_t id, int borderStyle, Qt::Alignment alignment, int characters,
                     const QString& text, QWidget* parent = nullptr);

  int32_t Id() const { return id; }
  const QString& Text() const { return text; }
  void SetText(const QString& newText);
  // 1 normal (after construction), 0 error.
  int Mode() const { return mode; }
  void SetMode(int newMode);

  QColor BackgroundColor() const;
  QColor TextColor() const;
  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  int32_t id;
  int borderStyle;
  Qt::Alignment alignment;
  int characters;
  QString text;
  int mode = 1;
};

}  // namespace kvt
