#pragma once
// TMessageBoxService: the one way the program shows a message box. A box is described by its
// type word (button set, icon, default button and modality flags, values below) and answers
// the id of the button the user picked (IDOK 1 to IDNO 7). The running application
// (TKVAppBase) holds the service; tests replace it with a fake that records the boxes and
// answers for the user. Without an application object of ours the null service answers.

#include <QString>

#include <cstdint>
#include <vector>

class QWidget;

namespace kvt {

// Button sets (the low four bits of the type word).
inline constexpr uint32_t MB_OK = 0x0;
inline constexpr uint32_t MB_OKCANCEL = 0x1;
inline constexpr uint32_t MB_ABORTRETRYIGNORE = 0x2;
inline constexpr uint32_t MB_YESNOCANCEL = 0x3;
inline constexpr uint32_t MB_YESNO = 0x4;
inline constexpr uint32_t MB_RETRYCANCEL = 0x5;
inline constexpr uint32_t MB_TYPEMASK = 0xF;
// Icons.
inline constexpr uint32_t MB_ICONHAND = 0x10;
inline constexpr uint32_t MB_ICONERROR = MB_ICONHAND;
inline constexpr uint32_t MB_ICONSTOP = MB_ICONHAND;
inline constexpr uint32_t MB_ICONQUESTION = 0x20;
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr uint32_t MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr uint32_t MB_ICONASTERISK = 0x40;
inline constexpr uint32_t MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr uint32_t MB_ICONMASK = 0xF0;
// Default button (the first without one of these).
inline constexpr uint32_t MB_DEFBUTTON1 = 0x000;
inline constexpr uint32_t MB_DEFBUTTON2 = 0x100;
inline constexpr uint32_t MB_DEFBUTTON3 = 0x200;
inline constexpr uint32_t MB_DEFMASK = 0xF00;
// Modality: a box without an owner is task-modal (blocks every window of the program).
inline constexpr uint32_t MB_APPLMODAL = 0x0000;
inline constexpr uint32_t MB_SYSTEMMODAL = 0x1000;
inline constexpr uint32_t MB_TASKMODAL = 0x2000;

// Results: the button picked.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The buttons of a type word in their order on the box; an unknown button set is MB_OK.
std::vector<int> MessageBoxButtons(uint32_t type);
// The result of the default button: the button named by MB_DEFBUTTONn, the first when the set
// has fewer buttons.
int MessageBoxDefaultResult(uint32_t type);
// The result that closing the box (Escape, the window's close) gives: IDCANCEL where the set
// has it, IDOK for MB_OK alone, 0 where the box cannot be closed without a choice.
int MessageBoxEscapeResult(uint32_t type);

class TMessageBoxService {
public:
  virtual ~TMessageBoxService() = default;
  // Shows a box owned by owner (null: no owner, the type carries MB_TASKMODAL) and answers the
  // id of the button picked. caption and text are shown as plain text.
  virtual int Show(QWidget* owner, uint32_t type, const QString& caption, const QString& text) = 0;
};

// Shows nothing and answers the default button, as a run without windows needs.
class TNullMessageBoxService final : public TMessageBoxService {
public:
  int Show(QWidget*, uint32_t type, const QString&, const QString&) override {
    return MessageBoxDefaultResult(type);
  }
};

// The running application's service, or the null service when the application object is not
// a TKVAppBase.
TMessageBoxService& MessageBoxServiceOf();

}  // namespace kvt
