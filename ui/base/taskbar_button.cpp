// taskbar_button.cpp - a window's taskbar button as a progress display (ITaskbarList3).
#include "ui/base/taskbar_button.h"

#include <shobjidl.h>

#include "win/on_demand_dlls.h"

namespace sipo::ui {

TaskbarButton::~TaskbarButton() {
  if (list_ != nullptr) list_->Release();
  if (comStarted_) win::ComUninitialize();
}

// One attempt only: a taskbar without the object stays without it.
ITaskbarList3* TaskbarButton::List() {
  if (loaded_) return list_;
  loaded_ = true;
  // S_FALSE (already started on this thread) is balanced by CoUninitialize too.
  comStarted_ = SUCCEEDED(win::ComInitialize(COINIT_APARTMENTTHREADED));
  void* list = nullptr;
  if (FAILED(win::ComCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ITaskbarList3, &list)))
    return nullptr;
  list_ = static_cast<ITaskbarList3*>(list);
  if (FAILED(list_->HrInit())) {
    list_->Release();
    list_ = nullptr;
  }
  return list_;
}

void TaskbarButton::ShowBusy() {
  if (ITaskbarList3* list = List()) list->SetProgressState(window_, TBPF_INDETERMINATE);
}

void TaskbarButton::ShowValue(std::uint64_t done, std::uint64_t total) {
  if (ITaskbarList3* list = List()) {
    list->SetProgressState(window_, TBPF_NORMAL);
    list->SetProgressValue(window_, done, total);
  }
}

// A full red bar: the run has ended, and not well.
void TaskbarButton::ShowError() {
  if (ITaskbarList3* list = List()) {
    list->SetProgressState(window_, TBPF_ERROR);
    list->SetProgressValue(window_, 1, 1);
  }
}

void TaskbarButton::Clear() {
  if (ITaskbarList3* list = List()) list->SetProgressState(window_, TBPF_NOPROGRESS);
}

}  // namespace sipo::ui
