#pragma once
// TKVColumnHeader: the header bar of a column list. It owns its columns (TKVHdrItem), draws
// them as buttons, and tracks the mouse itself: a click on a column, a drag of a divider
// (the divider of a collapsed column can be pulled open just right of the previous one) and
// double clicks. Each event becomes a notification that the bound list (HeaderNotify) sees
// first and the owner's handler after it. Widths live in memory only.
//
// The header owns the model its list shows (see column_list_box.h); a list built on the
// header must not outlive it.

#include <QHeaderView>
#include <QPixmap>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

class TKVColumnListBox;
class TKVColumnModel;

// Which fields of a column are valid, and its format bits.
inline constexpr uint32_t HDI_WIDTH = 0x1;
inline constexpr uint32_t HDI_TEXT = 0x2;
inline constexpr uint32_t HDI_FORMAT = 0x4;
inline constexpr uint32_t HDI_LPARAM = 0x8;
inline constexpr uint32_t HDI_BITMAP = 0x10;
inline constexpr uint32_t HDF_LEFT = 0;
inline constexpr uint32_t HDF_RIGHT = 1;
inline constexpr uint32_t HDF_CENTER = 2;
inline constexpr uint32_t HDF_JUSTIFYMASK = 3;
inline constexpr uint32_t HDF_BITMAP = 0x2000;
inline constexpr uint32_t HDF_STRING = 0x4000;
inline constexpr uint32_t HDF_OWNERDRAW = 0x8000;

// Hit-test flags.
inline constexpr uint32_t HHT_NOWHERE = 0x1;
inline constexpr uint32_t HHT_ONHEADER = 0x2;
inline constexpr uint32_t HHT_ONDIVIDER = 0x4;
inline constexpr uint32_t HHT_ONDIVOPEN = 0x8;
inline constexpr uint32_t HHT_ABOVE = 0x100;
inline constexpr uint32_t HHT_BELOW = 0x200;
inline constexpr uint32_t HHT_TORIGHT = 0x400;
inline constexpr uint32_t HHT_TOLEFT = 0x800;

// Notification codes.
inline constexpr int HDN_ITEMCLICKA = -302;
inline constexpr int HDN_ITEMDBLCLICKA = -303;
inline constexpr int HDN_DIVIDERDBLCLICKA = -305;
inline constexpr int HDN_BEGINTRACKA = -306;  // non-zero result refuses the drag
inline constexpr int HDN_ENDTRACKA = -307;
inline constexpr int HDN_TRACKA = -308;  // non-zero result ends the drag

class TKVHdrItem {
public:
  // Mask HDI_WIDTH|HDI_FORMAT, then the caption, the picture when given, and the width.
  TKVHdrItem(std::string_view caption, const QPixmap* bitmap, int width);

  void SetText(std::string_view caption);  // UTF-8
  void SetBitmap(const QPixmap& bitmap);
  void SetItemData(int32_t data);
  void SetAlignment(uint32_t alignment);  // HDF_LEFT, HDF_RIGHT or HDF_CENTER
  void SetWidth(int w) { width = w; }

  uint32_t mask = HDI_WIDTH | HDI_FORMAT;
  int width = 0;
  std::string text;
  QPixmap bitmap;
  uint32_t format = 0;
  int32_t itemData = 0;
};

struct TKVHeaderNotify {
  int code = 0;
  int item = -1;
  int button = 0;  // 0 left; +1 with the right and +2 with the middle button down
  TKVHdrItem* pitem = nullptr;
};

class TKVColumnHeader : public QHeaderView {
public:
  // The double-click box's width: how far from a divider a press still grabs it.
  static constexpr int kDividerSlop = 4;
  enum MouseState { kPressing = 0, kTracking = 1, kIdle = 2 };

  explicit TKVColumnHeader(QWidget* parent);
  ~TKVColumnHeader() override;

  void SetOption(int bit) { options |= uint32_t{1} << (bit & 31); }
  void ClearOption(int bit) { options &= ~(uint32_t{1} << (bit & 31)); }
  bool HasOption(int bit) const { return options & (uint32_t{1} << (bit & 31)); }
  // Buttons style: columns are buttons that can be clicked and double-clicked (default on).
  void SetButtons(bool on) { buttons = on; }

  void AddColumn(std::unique_ptr<TKVHdrItem> item);
  void InsertColumn(std::unique_ptr<TKVHdrItem> item, int position);
  bool RemoveColumn(int index);
  TKVHdrItem* GetColumn(int index) const;
  int GetColumnCount() const { return static_cast<int>(items.size()); }
  const std::string* GetColumnText(int index) const;

  int GetColumnWidth(int index) const;
  void SetColumnWidth(int index, int width);
  void AdjustColumnWidth(int index, int amount);
  int GetTotalWidth() const;
  int GetIdealWidth(int index) const;
  int GetHeaderHeight() const;
  void SetScrollOffset(int pixels) { setOffset(pixels); }

  // The column under a point (client coordinates) and the hit flags; -1 when none.
  int HitTest(QPoint point, uint32_t* flags) const;

  // The owner's handler of the notifications the bound list leaves; answers the result.
  void SetNotifyHandler(std::function<int(const TKVHeaderNotify&)> handler) {
    notifyHandler = std::move(handler);
  }
  // Draws an owner-drawn column (HDF_OWNERDRAW) in rect; pressed when it is pushed in.
  void SetOwnerDraw(std::function<void(QPainter&, const QRect&, int column, bool pressed)> draw) {
    ownerDraw = std::move(draw);
  }

  MouseState State() const { return state; }
  int PressedColumn() const { return pressed; }
  int TrackWidth() const { return trackWidth; }

  TKVColumnModel* Model() const { return model; }
  TKVColumnListBox* BoundList() const { return boundList; }
  void Bind(TKVColumnListBox* list) { boundList = list; }

  QSize sizeHint() const override;

protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

private:
  int Notify(int code, int item, Qt::MouseButtons buttons);
  void EndTrack();
  void ApplyWidths();

  std::vector<std::unique_ptr<TKVHdrItem>> items;
  TKVColumnModel* model;
  TKVColumnListBox* boundList = nullptr;
  uint32_t options = 0;
  bool buttons = true;
  MouseState state = kIdle;
  int pressed = -1;
  int tracked = -1;
  int trackBase = 0;
  int trackWidth = 0;
  QPoint trackStart;
  std::function<int(const TKVHeaderNotify&)> notifyHandler;
  std::function<void(QPainter&, const QRect&, int, bool)> ownerDraw;
};

}  // namespace kvt
