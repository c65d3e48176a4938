#include "ui/win32/Win32Window.h"

#include <commdlg.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/Path.h"
#include "platform/windows/WideText.h"
#include "ui/win32/ReviewWindow.h"

namespace tessaly {
namespace {

constexpr int kFirstControlId = 100;

std::wstring Wide(std::string_view text) {
  return WideFromUtf8(text).value_or(std::wstring());
}

int Pixels(int twips, UINT dpi) {
  return MulDiv(twips, static_cast<int>(dpi), 1440);
}

// The window's style: a fixed size, a title bar, a system menu and a
// minimise button.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

HWND MakeControl(const ControlPlace& place, HWND parent, HINSTANCE instance, int id) {
  const wchar_t* windowClass = L"STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE;
  switch (place.kind) {
    case ControlKind::Caption:
      style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
      break;
    case ControlKind::Value:
      // Notify, so that the tooltip sees the mouse over it. A value whose
      // end matters is shortened by WithEndInSight, the others in the middle.
      style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY;
      if (place.kept != KeptPart::End) style |= SS_PATHELLIPSIS;
      break;
    case ControlKind::CheckBox:
      windowClass = L"BUTTON";
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::Button:
      windowClass = L"BUTTON";
      style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
  }
  return CreateWindowExW(0, windowClass, L"", style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

// `text` as it fits `control` in the control's font: where it does not, its
// start gives way to "…", so that the end (a new name's date) stays in sight.
std::wstring WithEndInSight(HWND control, const std::wstring& text) {
  RECT box{};
  GetClientRect(control, &box);
  HDC context = GetDC(control);
  HGDIOBJ old =
      SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  auto width = [context](const std::wstring& shown) {
    SIZE size{};
    GetTextExtentPoint32W(context, shown.c_str(), static_cast<int>(shown.size()), &size);
    return size.cx;
  };
  std::wstring shown = text;
  for (std::size_t cut = 1; cut < text.size() && width(shown) > box.right; ++cut) {
    if (!IS_LOW_SURROGATE(text[cut])) shown = L"\u2026" + text.substr(cut);
  }
  SelectObject(context, old);
  ReleaseDC(control, context);
  return shown;
}

// The size and date of a file, as the replace question shows them.
std::pair<std::string, std::string> FileFacts(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return {"?", "?"};
  const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  FILETIME local{};
  SYSTEMTIME time{};
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &time);
  char when[32];
  std::snprintf(when, sizeof when, "%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay,
                time.wHour, time.wMinute);
  return {std::to_string(size), when};
}

// What a ShellExecute result of 32 or less means.
std::string ShellExecuteReason(INT_PTR result) {
  switch (result) {
    case 0:
    case SE_ERR_OOM:
      return "out of memory";
    case ERROR_FILE_NOT_FOUND:
      return "the file was not found";
    case ERROR_PATH_NOT_FOUND:
      return "the path was not found";
    case SE_ERR_ACCESSDENIED:
      return "access denied";
    case SE_ERR_SHARE:
      return "a sharing violation";
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC:
      return "no program is associated with this kind of file";
    default:
      return "error " + std::to_string(result);
  }
}

HRESULT CALLBACK TaskDialogCallback(HWND dialog, UINT notification, WPARAM wParam, LPARAM,
                                    LONG_PTR data) {
  return reinterpret_cast<Win32Window*>(data)->OnTaskDialog(dialog, notification, wParam);
}

}  // namespace

Win32Window::Win32Window(HINSTANCE instance, FileSystem& fileSystem, RenameListPlace listPlace)
    : presenter_(*this, fileSystem, std::move(listPlace)) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  window_ = CreateWindowExW(0, kClassName, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                            nullptr, instance, this);
  CreateControls();
  CreateMenus();
  Lay(GetDpiForWindow(window_));
  presenter_.Load();
}

Win32Window::~Win32Window() {
  if (IsWindow(window_)) DestroyWindow(window_);
  DestroyMenu(menu_);
  DestroyAcceleratorTable(shortcuts_);
  for (HFONT font : {messageFont_, englishFont_, chineseFont_}) {
    if (font) DeleteObject(font);
  }
}

void Win32Window::CreateControls() {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
  tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             0, 0, 0, 0, window_, nullptr, instance, nullptr);
  // Created in tab order, which is the order Tab moves the focus in.
  std::vector<const ControlPlace*> places;
  for (const ControlPlace& place : WindowLayout())
    places.push_back(&place);
  std::sort(places.begin(), places.end(),
            [](const ControlPlace* a, const ControlPlace* b) { return a->tabIndex < b->tabIndex; });
  for (const ControlPlace* place : places) {
    const auto index = static_cast<std::size_t>(place->control);
    HWND control =
        MakeControl(*place, window_, instance, kFirstControlId + static_cast<int>(index));
    controls_[index] = control;
    if (place->kind == ControlKind::Value) {
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = window_;
      tool.uId = reinterpret_cast<UINT_PTR>(control);
      tool.lpszText = const_cast<wchar_t*>(L"");
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  SetFocus(ControlHandle(Control::SelectDirectory));
}

void Win32Window::CreateMenus() {
  // The same entries in the context menu and, after a separator, in the
  // system menu, as Windows tools add their own there.
  menu_ = CreatePopupMenu();
  HMENU system = GetSystemMenu(window_, FALSE);
  AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  for (MenuEntry entry : kMenuEntries) {
    const UINT_PTR id = kFirstMenuId + kMenuIdStep * static_cast<UINT_PTR>(entry);
    AppendMenuW(menu_, MF_STRING, id, L"");
    AppendMenuW(system, MF_STRING, id, L"");
  }
  ACCEL keys[] = {
      {FVIRTKEY, VK_F5, kFirstMenuId + kMenuIdStep * static_cast<WORD>(MenuEntry::Preview)},
      {FVIRTKEY | FCONTROL, 'Z',
       kFirstMenuId + kMenuIdStep * static_cast<WORD>(MenuEntry::UndoLastRun)}};
  shortcuts_ = CreateAcceleratorTableW(keys, 2);
}

bool Win32Window::TranslateShortcut(MSG& message) {
  return TranslateAcceleratorW(window_, shortcuts_, &message) != 0;
}

bool Win32Window::ChooseMenuEntry(int id) {
  const int index = (id - kFirstMenuId) / kMenuIdStep;
  if (id < kFirstMenuId || (id - kFirstMenuId) % kMenuIdStep != 0 ||
      index >= static_cast<int>(std::size(kMenuEntries))) {
    return false;
  }
  presenter_.Choose(kMenuEntries[index]);
  return true;
}

void Win32Window::ShowContextMenu(HWND clicked, LPARAM where) {
  // A button's own right click is left to it.
  const int control = clicked == window_ ? -1 : GetDlgCtrlID(clicked) - kFirstControlId;
  if (control >= 0 && control < static_cast<int>(controls_.size()) &&
      WindowLayout()[static_cast<std::size_t>(control)].kind == ControlKind::Button) {
    return;
  }
  POINT at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
  if (where == -1) {  // the menu key: below the focused control
    RECT focused{};
    GetWindowRect(GetFocus() ? GetFocus() : window_, &focused);
    at = {focused.left, focused.bottom};
  }
  presenter_.RefreshMenu();
  const int chosen = trackMenu ? trackMenu(menu_)
                               : TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                                0, window_, nullptr);
  if (chosen != 0) ChooseMenuEntry(chosen);
}

void Win32Window::Lay(UINT dpi) {
  RECT frame{0, 0, Pixels(kClientWidthTwips, dpi), Pixels(kClientHeightTwips, dpi)};
  AdjustWindowRectExForDpi(&frame, kStyle, FALSE, 0, dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const ControlPlace& place : WindowLayout()) {
    const TwipsRect& r = place.twips;
    MoveWindow(ControlHandle(place.control), Pixels(r.left, dpi), Pixels(r.top, dpi),
               Pixels(r.width, dpi), Pixels(r.height, dpi), TRUE);
  }
  MakeFonts(dpi);
  ApplyFonts();
}

// `font` at the largest height up to its own at which every caption of
// `language` fits its control (a button's with room for its frame), so that
// no caption is cut; 6 pixels at the least.
HFONT Win32Window::FittedFont(LOGFONTW font, CaptionLanguage language, UINT dpi) const {
  HDC context = GetDC(window_);
  for (;; font.lfHeight += font.lfHeight < 0 ? 1 : -1) {
    HFONT candidate = CreateFontIndirectW(&font);
    HGDIOBJ old = SelectObject(context, candidate);
    bool fits = true;
    for (const CaptionRow& row : CaptionTable()) {
      const std::wstring text = Wide(CaptionIn(row, language));
      const ControlPlace& place = PlaceOf(row.control);
      SIZE size{};
      GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
      const int frame = place.kind == ControlKind::Button ? Pixels(90, dpi) : 0;
      fits = fits && size.cx <= Pixels(place.twips.width, dpi) - frame;
    }
    SelectObject(context, old);
    if (fits || std::abs(font.lfHeight) <= 6) {
      ReleaseDC(window_, context);
      return candidate;
    }
    DeleteObject(candidate);
  }
}

void Win32Window::MakeFonts(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
  for (HFONT font : {messageFont_, englishFont_, chineseFont_}) {
    if (font) DeleteObject(font);
  }
  messageFont_ = CreateFontIndirectW(&metrics.lfMessageFont);
  englishFont_ = FittedFont(metrics.lfMessageFont, CaptionLanguage::English, dpi);
  LOGFONTW chinese = metrics.lfMessageFont;
  wcscpy_s(chinese.lfFaceName, L"Microsoft JhengHei UI");
  chineseFont_ = FittedFont(chinese, CaptionLanguage::Chinese, dpi);
}

void Win32Window::ApplyFonts() {
  // The captions in their language's font; values and boxes in the
  // message font.
  HFONT captionFont = language_ == CaptionLanguage::Chinese ? chineseFont_ : englishFont_;
  for (const ControlPlace& place : WindowLayout()) {
    const bool caption = place.kind == ControlKind::Caption || place.kind == ControlKind::Button;
    SendMessageW(ControlHandle(place.control), WM_SETFONT,
                 reinterpret_cast<WPARAM>(caption ? captionFont : messageFont_), TRUE);
  }
}

LRESULT CALLBACK Win32Window::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->Handle(message, wParam, lParam)
              : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      if (ChooseMenuEntry(LOWORD(wParam))) return 0;  // a shortcut
      const int index = LOWORD(wParam) - kFirstControlId;
      if (HIWORD(wParam) == BN_CLICKED && index >= 0 &&
          index < static_cast<int>(controls_.size()) &&
          WindowLayout()[static_cast<std::size_t>(index)].kind == ControlKind::Button) {
        presenter_.Click(WindowLayout()[static_cast<std::size_t>(index)].control);
      }
      return 0;
    }
    case WM_SYSCOMMAND:
      if (ChooseMenuEntry(static_cast<int>(wParam & 0xFFF0))) return 0;
      return DefWindowProcW(window_, message, wParam, lParam);
    case WM_CONTEXTMENU:
      ShowContextMenu(reinterpret_cast<HWND>(wParam), lParam);
      return 0;
    case WM_INITMENUPOPUP:
    case WM_ACTIVATE:
      // A command-line run may have left a journal to undo since.
      presenter_.RefreshMenu();
      return DefWindowProcW(window_, message, wParam, lParam);
    case WM_CLOSE:
      // During a run the run stops first; the presenter closes the window
      // again once it has.
      if (presenter_.CloseRequested() == CloseAnswer::CloseNow) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      Lay(HIWORD(wParam));
      return 0;
    }
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void Win32Window::SetTitle(std::string_view title) {
  SetWindowTextW(window_, Wide(title).c_str());
}

void Win32Window::SetText(Control control, std::string_view text) {
  std::wstring wide = Wide(text);
  const ControlPlace& place = PlaceOf(control);
  SetWindowTextW(
      ControlHandle(control),
      (place.kept == KeptPart::End ? WithEndInSight(ControlHandle(control), wide) : wide).c_str());
  if (place.kind != ControlKind::Value) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(ControlHandle(control));
  tool.lpszText = wide.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Window::SetEnabled(Control control, bool enabled) {
  EnableWindow(ControlHandle(control), enabled ? TRUE : FALSE);
}

void Win32Window::SetChecked(Control box, bool checked) {
  SendMessageW(ControlHandle(box), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Window::IsChecked(Control box) const {
  return SendMessageW(ControlHandle(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::SetLanguage(CaptionLanguage language) {
  language_ = language;
  ApplyFonts();
}

std::string Win32Window::ChooseFile(std::string_view title, std::string_view filterName,
                                    std::string_view filterPattern) {
  if (chooseFile) return chooseFile(title);
  const std::wstring wideTitle = Wide(title);
  // The name and the pattern, each ended by a NUL, the whole by another.
  std::wstring filter = Wide(filterName);
  filter.push_back(L'\0');
  filter += Wide(filterPattern);
  filter.push_back(L'\0');
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = wideTitle.c_str();
  dialog.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&dialog)) return {};
  file.resize(wcslen(file.c_str()));
  return Utf8FromWide(file);
}

HRESULT Win32Window::OnTaskDialog(HWND dialog, UINT notification, WPARAM wParam) {
  if (notification == TDN_CREATED && onDialogShown) onDialogShown(dialog);
  if (notification == TDN_BUTTON_CLICKED && static_cast<int>(wParam) == kCopy) {
    // Copy leaves the list open.
    if (OpenClipboard(window_)) {
      EmptyClipboard();
      const std::size_t bytes = (copyText_.size() + 1) * sizeof(wchar_t);
      if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::memcpy(GlobalLock(memory), copyText_.c_str(), bytes);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
      }
      CloseClipboard();
    }
    return S_FALSE;
  }
  return S_OK;
}

int Win32Window::ShowTaskDialog(TASKDIALOGCONFIG& config) {
  config.cbSize = sizeof config;
  config.hwndParent = window_;
  config.dwFlags |= TDF_POSITION_RELATIVE_TO_WINDOW | TDF_ALLOW_DIALOG_CANCELLATION;
  config.pfCallback = TaskDialogCallback;
  config.lpCallbackData = reinterpret_cast<LONG_PTR>(this);
  int pressed = 0;
  if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr))) return 0;
  return pressed;
}

ReplaceChoice Win32Window::AskReplace(const ReplaceQuestionWords& words,
                                      std::string_view picturePath, std::string_view existingPath) {
  const auto [existingSize, existingDate] = FileFacts(existingPath);
  const auto [pictureSize, pictureDate] = FileFacts(picturePath);
  const std::string name(FileNameOf(existingPath));
  const std::wstring title = Wide(words.title);
  const std::wstring text = Wide(FillIn(
      words.question, {name, FillIn(words.fileFacts, {existingPath, existingSize, existingDate}),
                       FillIn(words.fileFacts, {picturePath, pictureSize, pictureDate})}));
  const std::wstring yes = Wide(words.yes), no = Wide(words.no), yesToAll = Wide(words.yesToAll),
                     noToAll = Wide(words.noToAll);
  const TASKDIALOG_BUTTON buttons[] = {{kYes, yes.c_str()},
                                       {kYesToAll, yesToAll.c_str()},
                                       {kNo, no.c_str()},
                                       {kNoToAll, noToAll.c_str()}};
  TASKDIALOGCONFIG config{};
  config.pszWindowTitle = title.c_str();
  config.pszMainIcon = TD_WARNING_ICON;
  config.pszContent = text.c_str();
  config.cButtons = 4;
  config.pButtons = buttons;
  config.nDefaultButton = kNo;
  switch (ShowTaskDialog(config)) {
    case kYes:
      return ReplaceChoice::Yes;
    case kYesToAll:
      return ReplaceChoice::YesToAll;
    case kNoToAll:
      return ReplaceChoice::NoToAll;
    default:
      return ReplaceChoice::No;
  }
}

void Win32Window::ShowNote(std::string_view title, std::string_view text, PCWSTR icon) {
  const std::wstring wideTitle = Wide(title), wideText = Wide(text);
  TASKDIALOGCONFIG config{};
  config.pszWindowTitle = wideTitle.c_str();
  config.pszMainIcon = icon;
  config.pszContent = wideText.c_str();
  config.dwCommonButtons = TDCBF_OK_BUTTON;
  ShowTaskDialog(config);
}

void Win32Window::ShowError(std::string_view title, std::string_view text) {
  ShowNote(title, text, TD_ERROR_ICON);
}

void Win32Window::ShowMessage(std::string_view title, std::string_view text) {
  ShowNote(title, text, TD_INFORMATION_ICON);
}

void Win32Window::SetMenuEntry(MenuEntry entry, std::string_view caption, bool enabled) {
  // The shortcut stands right of the caption.
  static constexpr const wchar_t* kShortcuts[] = {L"\tF5", L"\tCtrl+Z", L""};
  const auto index = static_cast<std::size_t>(entry);
  const UINT id = kFirstMenuId + kMenuIdStep * static_cast<UINT>(index);
  std::wstring text = Wide(caption) + kShortcuts[index];
  for (HMENU menu : {menu_, GetSystemMenu(window_, FALSE)}) {
    ModifyMenuW(menu, id, MF_BYCOMMAND | MF_STRING, id, text.c_str());
    EnableMenuItem(menu, id, static_cast<UINT>(MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)));
  }
}

ReviewButton Win32Window::ShowReview(const ReviewTexts& texts) {
  return ShowReviewWindow(window_, messageFont_, texts, onDialogShown);
}

void Win32Window::ShowProblems(const ProblemListTexts& texts) {
  const std::wstring title = Wide(texts.title), heading = Wide(texts.heading),
                     copy = Wide(texts.copy), close = Wide(texts.close);
  copyText_ = Wide(texts.list);
  const TASKDIALOG_BUTTON buttons[] = {{kCopy, copy.c_str()}, {IDCANCEL, close.c_str()}};
  TASKDIALOGCONFIG config{};
  config.pszWindowTitle = title.c_str();
  config.pszMainIcon = TD_WARNING_ICON;
  config.pszMainInstruction = heading.c_str();
  config.pszContent = copyText_.c_str();
  config.cButtons = 2;
  config.pButtons = buttons;
  config.nDefaultButton = IDCANCEL;
  ShowTaskDialog(config);
}

OpenResult Win32Window::OpenInViewer(std::string_view path) {
  const INT_PTR result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window_, L"open", Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > 32) return {};
  return {OpenStatus::Failed, ShellExecuteReason(result)};
}

void Win32Window::HandOver() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // For the loop that waits for it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (!IsDialogMessageW(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void Win32Window::Close() {
  // Posted, never done inside the click's handler: the window goes when
  // the handler has returned.
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace tessaly
