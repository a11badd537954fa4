// The launcher's user interface on GTK 3. GTK is opened only when a window
// or dialog is to be shown, so a run without a window needs no display;
// every message is also written to stderr.
#pragma once

#include <cstdio>
#include <string>

#include "autorun/launcher_ui.h"
#include "autorun/test_hook.h"

typedef struct _GtkWidget GtkWidget;
typedef struct _GtkWindow GtkWindow;

class GtkUi : public LauncherUi {
 public:
  // `caption` titles the message boxes. The hook, when given, answers the
  // dialogs; the trace file, when open, gets a line for every step.
  GtkUi(std::string caption, TestHook* hook, FILE* trace);

  // Opens the X11 display once; false (with the reason on stderr, once)
  // when there is none.
  bool Open_Display();
  // True after a dialog could not be shown for want of a display.
  bool Display_Missing() const { return display_missing_; }
  // Dialogs are kept above this window.
  void Set_Parent(GtkWindow* parent) { parent_ = parent; }
  TestHook* Hook() const { return hook_; }

  void Message(std::string_view text, MessageIcon icon) override;
  bool Install_Prompt(const CInstallItem& entry) override;
  bool License_Agreement(const std::string& text) override;
  bool Splash(const CSettingsSplash& splash, const std::string& picture, const std::string& sound,
              SplashSound& player) override;
  void Wait(LauncherWindow& window, ChildProcess& child, bool disable) override;
  void Trace(std::string_view line) override;

  // The About box: the program's icon, name, version and maker lines.
  void About();
  // Runs a dialog modally; with a hook, the next answer is given to it once
  // it is shown. `answer` carries a hook answer out on the dialog's buttons,
  // or returns false when the dialog cannot take it.
  int Run_Dialog(GtkWidget* dialog, const char* kind, bool (*answer)(GtkWidget*, const std::string&));

 private:
  bool Need_Display(const char* what);

  std::string caption_;
  TestHook* hook_;
  FILE* trace_;
  GtkWindow* parent_ = nullptr;
  bool opened_ = false;
  bool display_ok_ = false;
  bool display_missing_ = false;
};

typedef struct _GdkPixbuf GdkPixbuf;
// The picture file, when gdk-pixbuf reads it as that format ("bmp", "ico");
// null otherwise.
GdkPixbuf* Pixbuf_Load(const std::string& path, const char* format_name);
// The program's own icon, installed beside it; null when not found.
GdkPixbuf* Program_Icon();
