#pragma once
// TCommandEnabler: what a command's enable handler is given to say how the command's menu
// items and buttons look now. Each kind of command source (a menu action, a toolbar button)
// derives its own enabler; the base remembers what it was told, which is all a test or a
// source without a look of its own needs.

#include <QString>

#include <cstdint>
#include <optional>

namespace kvt {

// Check states of SetCheck.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kIndeterminate = 2;

// A glyph resource: a bitmap resource id, or a resource name (a name wins when not empty).
struct TGlyphResource {
  int32_t id = 0;
  QString name;

  bool operator==(const TGlyphResource&) const = default;
};

class TCommandEnabler {
public:
  explicit TCommandEnabler(int32_t id) : id(id) {}
  virtual ~TCommandEnabler() = default;

  int32_t Id() const { return id; }

  virtual void Enable(bool on) { enabled = on; }
  // state: kUnchecked, kChecked or kIndeterminate; other values count as kUnchecked.
  virtual void SetCheck(int state) {
    check = state == kChecked || state == kIndeterminate ? state : kUnchecked;
  }
  virtual void SetText(const QString& text) { this->text = text; }
  // Sources without glyphs ignore it.
  virtual void SetGlyph(const TGlyphResource& glyph) { this->glyph = glyph; }

  // What the handler said; nullopt for what it did not touch.
  std::optional<bool> enabled;
  std::optional<int> check;
  std::optional<QString> text;
  std::optional<TGlyphResource> glyph;

private:
  int32_t id;
};

}  // namespace kvt
