// The dialog layer: one static dialog procedure finds the C++ object and turns messages into
// a handful of virtual handlers. Modal and modeless runs differ only in how they end.
#pragma once

#include <windows.h>

#include <vector>

namespace vt::win {

// A control object that owns its own drawing and clicks: the dialog reflects the control's
// WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and WM_CTLCOLOR* messages to it first.
class Control {
public:
  virtual ~Control() = default;
  int Id() const { return id_; }
  HWND Hwnd() const { return hwnd_; }
  // Returns true when the message was handled; result is the message's result (the dialog layer
  // puts it where the platform expects it).
  virtual bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) { return false; }
  // Called once the object is bound to its window (Hwnd() is valid), e.g. to subclass it.
  virtual void OnAttached() {}

private:
  friend class Dialog;
  int id_ = 0;
  HWND hwnd_ = nullptr;
};

class Dialog {
public:
  explicit Dialog(int templateId, HINSTANCE instance = nullptr);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally; returns the value passed to End, or -1 if it could not be created.
  INT_PTR RunModal(HWND parent = nullptr);
  // Runs the dialog modally in a message loop of the layer's own, which also waits for the
  // handle WaitHandle() gives (a program the window started) and calls OnWaitEnded once it is
  // signalled. Otherwise as RunModal: the parent disabled meanwhile, the window shown after
  // OnInit and destroyed at the end; WM_QUIT ends the run and is posted again for the loop
  // outside.
  INT_PTR RunModalWatching(HWND parent = nullptr);
  // Creates the dialog modelessly; the caller's message loop (or none) drives it.
  bool CreateModeless(HWND parent = nullptr);
  // Ends a modal run with the given result, or destroys a modeless window.
  void End(INT_PTR result);

  HWND Hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  int TemplateId() const { return templateId_; }
  bool IsModal() const { return modal_; }

  // Binds a control object to the template's control `id`; call from OnInit.
  bool Attach(Control& control, int id);

protected:
  // Runs at WM_INITDIALOG before OnInit, for bases that must act before their subclasses do.
  virtual void OnBeforeInit() {}
  virtual bool OnInit() { return true; }  // true: let the platform set the default focus
  virtual bool OnCommand(int id, int code, HWND control);
  virtual bool OnNotify(int id, NMHDR* header, INT_PTR& result) { return false; }
  virtual bool OnDrawItem(int id, DRAWITEMSTRUCT* item) { return false; }
  virtual HBRUSH OnCtlColor(UINT msg, HDC dc, HWND control) { return nullptr; }
  virtual bool OnTimer(UINT_PTR id) { return false; }
  virtual void OnSize(UINT kind, int width, int height) {}
  virtual bool OnPaint() { return false; }
  virtual bool OnClose();  // default: as Cancel
  virtual void OnOK() { End(IDOK); }
  virtual void OnCancel() { End(IDCANCEL); }
  virtual void OnDestroy() {}
  // Any other message; return true when handled, with the message's result in `result`.
  virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) { return false; }
  // RunModalWatching's handle to wait for, or null; asked again after every message.
  virtual HANDLE WaitHandle() const { return nullptr; }
  // The handle was signalled, or can no longer be waited for: the window lets go of it.
  virtual void OnWaitEnded() {}

private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  // What the dialog procedure returns for a handled message with this result.
  INT_PTR Answer(UINT msg, INT_PTR result);
  Control* FindControl(int id) const;

  int templateId_;
  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  // RunModalWatching's run: End ends it through these instead of EndDialog.
  bool ownLoop_ = false;
  bool ended_ = false;
  INT_PTR result_ = -1;
  std::vector<Control*> controls_;
};

}  // namespace vt::win
