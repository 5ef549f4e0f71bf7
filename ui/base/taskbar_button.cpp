// taskbar_button.cpp - a window's taskbar button as a progress display (ITaskbarList3).
#include "ui/base/taskbar_button.h"

#include <shobjidl.h>

namespace sipo::ui {
namespace {

using CoInitializeExFn = HRESULT(WINAPI*)(void*, DWORD);
using CoUninitializeFn = void(WINAPI*)();
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

template <class Fn>
Fn Function(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

TaskbarButton::~TaskbarButton() {
  if (list_ != nullptr) list_->Release();
  if (comStarted_) Function<CoUninitializeFn>(ole32_, "CoUninitialize")();
  if (ole32_ != nullptr) FreeLibrary(ole32_);
}

// One attempt only: a taskbar without the object stays without it.
ITaskbarList3* TaskbarButton::List() {
  if (loaded_) return list_;
  loaded_ = true;
  ole32_ = LoadLibraryW(L"ole32.dll");
  if (ole32_ == nullptr) return nullptr;
  auto initialise = Function<CoInitializeExFn>(ole32_, "CoInitializeEx");
  auto create = Function<CoCreateInstanceFn>(ole32_, "CoCreateInstance");
  if (initialise == nullptr || create == nullptr) return nullptr;
  // S_FALSE (already started on this thread) is balanced by CoUninitialize too.
  comStarted_ = SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED));
  void* list = nullptr;
  if (FAILED(create(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, &list)))
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
