// The dialog and its controls: built from a registered template, shown and hidden, given
// texts, and clicked or keyed by the user. One dialog lives at a time; a handle that is not
// the live dialog or one of its controls is refused, never followed.
#include <cstring>
#include <string>

#include "platform/sim/desktop.h"
#include "platform/sim/sim_control.h"

struct SimWindow {
  int id;
  SimControlKind kind;  // controls only
  bool shown;           // its own visibility flag, whatever its parent's
  bool active;          // the dialog only
  std::string text;
};

namespace {

constexpr int TEMPLATE_SLOTS = 4;
constexpr int TEMPLATE_NAME_SIZE = 32;
constexpr int CONTROLS_MAX = 8;

struct DialogTemplate {
  char name[TEMPLATE_NAME_SIZE];
  SimControlTemplate controls[CONTROLS_MAX];
  int count;
};

DialogTemplate g_templates[TEMPLATE_SLOTS];
int g_templateCount;

SimWindow g_dialog;
SimWindow g_controls[CONTROLS_MAX];
int g_controlCount;
bool g_live;
DLGPROC g_dialogProc;
bool g_ending;
INT_PTR g_endResult;
int g_showCalls;
int g_focusId;  // the push button the user moved the focus to, or 0

DialogTemplate* FindTemplate(LPCSTR name) {
  for (int i = 0; i < g_templateCount; ++i)
    if (std::strcmp(g_templates[i].name, name) == 0) return &g_templates[i];
  return nullptr;
}

SimWindow* FindWindow(HWND window) {
  if (!g_live) return nullptr;
  if (window == &g_dialog) return &g_dialog;
  for (int i = 0; i < g_controlCount; ++i)
    if (window == &g_controls[i]) return &g_controls[i];
  return nullptr;
}

SimWindow* FindControl(int id) {
  if (!g_live) return nullptr;
  for (int i = 0; i < g_controlCount; ++i)
    if (g_controls[i].id == id) return &g_controls[i];
  return nullptr;
}

bool IsPushButton(const SimWindow* control) {
  return control->kind == SIM_DEFAULT_PUSH_BUTTON || control->kind == SIM_PUSH_BUTTON;
}

// The command a push button sends its dialog: the id in the low word, BN_CLICKED (0) in the
// high word, the button's handle in lParam.
bool PostButtonCommand(SimWindow* button) {
  return SimPostMessage(WM_COMMAND, static_cast<WPARAM>(button->id) & 0xFFFF,
                        reinterpret_cast<LPARAM>(button));
}

}  // namespace

// ---- The desktop's side ------------------------------------------------------------------

HWND DialogCreate(LPCSTR templateName, DLGPROC proc, LPARAM init) {
  const DialogTemplate* source = FindTemplate(templateName);
  if (!source || g_live) return nullptr;
  g_dialog = SimWindow{0, SIM_STATIC_TEXT, false, false, ""};  // not visible until shown
  g_controlCount = source->count;
  for (int i = 0; i < g_controlCount; ++i) {
    const SimControlTemplate& item = source->controls[i];
    g_controls[i] = SimWindow{item.id, item.kind, item.visible, false, item.text};
  }
  g_live = true;
  g_dialogProc = proc;
  g_ending = false;
  g_endResult = 0;
  g_showCalls = 0;
  g_focusId = 0;
  g_dialogProc(&g_dialog, WM_INITDIALOG, 0, init);
  return &g_dialog;
}

HWND DialogLive() { return g_live ? &g_dialog : nullptr; }

bool DialogEnding() { return g_live && g_ending; }

INT_PTR DialogResult() { return g_endResult; }

void DialogDestroy() {
  if (!g_live) return;
  g_dialogProc(&g_dialog, WM_DESTROY, 0, 0);  // the window still lives while it hears of its end
  TimersKillWindow(&g_dialog);
  DialogForget();
}

void DialogForget() {
  g_live = false;
  g_dialog.shown = false;
  g_dialog.active = false;
}

void DialogDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_live && window == &g_dialog) g_dialogProc(window, message, wParam, lParam);
}

// ---- Win32 -------------------------------------------------------------------------------

BOOL EndDialog(HWND window, INT_PTR result) {
  if (!g_live || window != &g_dialog) return FALSE;
  g_ending = true;
  g_endResult = result;
  return TRUE;
}

HWND GetDlgItem(HWND window, int id) {
  if (!g_live || window != &g_dialog) return nullptr;
  return FindControl(id);
}

// Returns whether the window was visible before, as the real call does.
BOOL ShowWindow(HWND window, int command) {
  SimWindow* target = FindWindow(window);
  if (!target) return FALSE;
  BOOL wasShown = target->shown;
  if (command == SW_SHOWNORMAL) {
    target->shown = true;
    if (target == &g_dialog) {
      target->active = true;
      ++g_showCalls;
    }
  } else if (command == SW_HIDE) {
    target->shown = false;
    target->active = false;
  }
  return wasShown;
}

BOOL SetDlgItemTextA(HWND window, int id, LPCSTR text) {
  SimWindow* control = GetDlgItem(window, id);
  if (!control) return FALSE;
  control->text = text;
  return TRUE;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_live || window != &g_dialog) return 0;
  return g_dialogProc(window, message, wParam, lParam);
}

// ---- Tests' side -------------------------------------------------------------------------

void SimRegisterDialog(const char* name, const SimControlTemplate* items, int count) {
  DialogTemplate* slot = FindTemplate(name);
  if (!slot && g_templateCount < TEMPLATE_SLOTS) slot = &g_templates[g_templateCount++];
  if (!slot || count > CONTROLS_MAX || std::strlen(name) >= TEMPLATE_NAME_SIZE) return;
  std::strcpy(slot->name, name);
  for (int i = 0; i < count; ++i) slot->controls[i] = items[i];
  slot->count = count;
}

bool SimClick(int id) {
  SimWindow* button = FindControl(id);
  if (!button || !IsPushButton(button) || !button->shown || !g_dialog.shown) return false;
  g_focusId = id;  // a click leaves the focus on the button
  return PostButtonCommand(button);
}

bool SimFocusControl(int id) {
  SimWindow* button = FindControl(id);
  if (!button || !IsPushButton(button) || !button->shown || !g_dialog.active) return false;
  g_focusId = id;
  return true;
}

// The dialog manager turns Esc into IDCANCEL, whether or not a cancel button shows.
bool SimKeyEscape() {
  if (!g_live || !g_dialog.active) return false;
  SimWindow* cancel = FindControl(IDCANCEL);
  return SimPostMessage(WM_COMMAND, IDCANCEL, reinterpret_cast<LPARAM>(cancel));
}

// Enter presses the focused push button, else the default push button, else IDOK.
bool SimKeyEnter() {
  if (!g_live || !g_dialog.active) return false;
  SimWindow* focused = FindControl(g_focusId);
  if (focused && focused->shown) return PostButtonCommand(focused);
  for (int i = 0; i < g_controlCount; ++i)
    if (g_controls[i].kind == SIM_DEFAULT_PUSH_BUTTON) return PostButtonCommand(&g_controls[i]);
  return SimPostMessage(WM_COMMAND, IDOK, 0);
}

HWND SimDialog() { return DialogLive(); }
bool SimWindowShown() { return g_live && g_dialog.shown; }
bool SimWindowActive() { return g_live && g_dialog.active; }
int SimWindowShowCalls() { return g_showCalls; }
INT_PTR SimDialogResult() { return g_endResult; }

bool SimControlShown(int id) {
  const SimWindow* control = FindControl(id);
  return control && control->shown;
}

std::string SimControlText(int id) {
  const SimWindow* control = FindControl(id);
  return control ? control->text : std::string();
}
