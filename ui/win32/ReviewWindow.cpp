#include "ui/win32/ReviewWindow.h"

#include <string>

#include "platform/windows/WideText.h"

namespace tessaly {
namespace {

constexpr const wchar_t* kClassName = L"TessalyReview";

// What the window's procedure shares with the loop that waits for it.
struct Review {
  int defaultId = IDCANCEL;
  ReviewButton answer = ReviewButton::Close;
  bool done = false;
};

// UTF-8 with LF line breaks as the wide text with CR LF that an edit box shows.
std::wstring EditText(std::string_view text) {
  std::wstring wide;
  for (wchar_t c : WideFromUtf8(text).value_or(std::wstring())) {
    if (c == L'\n') wide += L'\r';
    wide += c;
  }
  return wide;
}

LRESULT CALLBACK ReviewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* review = reinterpret_cast<Review*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case DM_GETDEFID:  // Return presses the default button
      return MAKELRESULT(review->defaultId, DC_HASDEFID);
    case WM_COMMAND:
      if (LOWORD(wParam) == kReviewProceed || LOWORD(wParam) == IDCANCEL) {
        review->answer =
            LOWORD(wParam) == kReviewProceed ? ReviewButton::Proceed : ReviewButton::Close;
        review->done = true;
      }
      return 0;
    case WM_CLOSE:
      review->done = true;
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND Child(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style, RECT r, int id,
           HFONT font) {
  HWND child = CreateWindowExW(kind[0] == L'E' ? WS_EX_CLIENTEDGE : 0, kind, text.c_str(),
                               WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  return child;
}

// A read-only box of `text` that scrolls both ways and holds all of it (an
// edit box cuts at 32,767 characters unless told otherwise).
void Box(HWND parent, std::string_view text, RECT r, int id, HFONT font) {
  const DWORD style = ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_VSCROLL |
                      WS_HSCROLL | WS_TABSTOP;
  HWND box = Child(parent, L"EDIT", L"", style, r, id, font);
  SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
  SetWindowTextW(box, EditText(text).c_str());
}

}  // namespace

ReviewButton ShowReviewWindow(HWND owner, HFONT font, const ReviewTexts& texts,
                              const std::function<void(HWND)>& onShown) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ReviewProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly once registered

  Review review;
  review.defaultId = texts.defaultButton == ReviewButton::Proceed ? kReviewProceed : IDCANCEL;
  const int dpi = static_cast<int>(GetDpiForWindow(owner));
  auto px = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, px(660), px(460)};
  AdjustWindowRectExForDpi(&frame, style, FALSE, WS_EX_DLGMODALFRAME, static_cast<UINT>(dpi));
  RECT ownerPlace{};
  GetWindowRect(owner, &ownerPlace);
  HWND window = CreateWindowExW(
      WS_EX_DLGMODALFRAME, kClassName, WideFromUtf8(texts.title).value_or(L"").c_str(), style,
      ownerPlace.left, ownerPlace.top, frame.right - frame.left, frame.bottom - frame.top, owner,
      nullptr, windowClass.hInstance, nullptr);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&review));

  const bool problems = !texts.problems.empty();
  Child(window, L"STATIC", EditText(texts.counts), SS_NOPREFIX, {px(10), px(10), px(650), px(46)},
        -1, font);
  Box(window, texts.changes, {px(10), px(50), px(650), px(problems ? 290 : 410)}, 100, font);
  if (problems) Box(window, texts.problems, {px(10), px(298), px(650), px(410)}, 101, font);
  // The button that goes ahead stands left of the one that closes, as Yes does.
  const int proceedStyle = review.defaultId == kReviewProceed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  const int closeStyle = review.defaultId == IDCANCEL ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  HWND proceed = Child(window, L"BUTTON", WideFromUtf8(texts.proceed).value_or(L""),
                       static_cast<DWORD>(proceedStyle) | WS_TABSTOP,
                       {px(450), px(420), px(545), px(450)}, kReviewProceed, font);
  HWND close = Child(window, L"BUTTON", WideFromUtf8(texts.close).value_or(L""),
                     static_cast<DWORD>(closeStyle) | WS_TABSTOP,
                     {px(555), px(420), px(650), px(450)}, IDCANCEL, font);

  EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOW);
  SetFocus(review.defaultId == kReviewProceed ? proceed : close);
  if (onShown) onShown(window);
  MSG message;
  while (!review.done && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  if (!review.done) PostQuitMessage(static_cast<int>(message.wParam));  // for the loop outside
  EnableWindow(owner, TRUE);
  SetActiveWindow(owner);
  DestroyWindow(window);
  return review.answer;
}

}  // namespace tessaly
