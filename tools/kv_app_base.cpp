#include "tools/kv_app_base.h"

#include "tools/command_table.h"
#include "tools/message_box_service.h"
#include "tools/qt_message_box_service.h"

#include <mutex>

namespace kvt {

namespace {

std::recursive_mutex& ProcessLock() {
  // Never destroyed: threads may still log while static objects are torn down at exit.
  static auto* lock = new std::recursive_mutex;
  return *lock;
}

}  // namespace

TKVAppBase::TKVAppBase(int& argc, char** argv)
    : QApplication(argc, argv), commands(new TCommandTable(this)) {
  ProcessLock();  // made before any second thread can race to make it
}

TKVAppBase::~TKVAppBase() = default;

void TKVAppBase::Lock() { ProcessLock().lock(); }

void TKVAppBase::Unlock() { ProcessLock().unlock(); }

void TKVAppBase::ShowContextHelp(const TCtrlHelpRequest&, const TCtrlHelpEntry*, int32_t) {}

void TKVAppBase::ShowCommandHelp(int32_t) {}

TMessageBoxService& TKVAppBase::MessageBoxService() {
  if (messageBoxes != nullptr) return *messageBoxes;
  return QtMessageBoxService();
}

void TKVAppBase::SetMessageBoxService(TMessageBoxService* service) { messageBoxes = service; }

TKVAppBase* GetKVAppBase() { return dynamic_cast<TKVAppBase*>(QCoreApplication::instance()); }

}  // namespace kvt
