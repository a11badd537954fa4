#include "autorun/gtk_ui.h"

#include <gtk/gtk.h>

#include <filesystem>
#include <iostream>

#include <unistd.h>

#include "autorun/launcher_window.h"
#include "autorun/splash_timers.h"
#include "host/text_1252.h"

namespace {

constexpr const char* kLicenseHeading =
    "Please read the following license agreement carefully. Use the scroll bar to view the entire "
    "agreement.\n\n";

// Hook answers of the dialogs, carried out on their buttons as a user would.
bool Answer_Button(GtkWidget* dialog, const char* key) {
  GtkWidget* button = GTK_WIDGET(g_object_get_data(G_OBJECT(dialog), key));
  if (!button || !gtk_widget_get_visible(button) || !gtk_widget_is_sensitive(button)) return false;
  gtk_button_clicked(GTK_BUTTON(button));
  return true;
}

bool Answer_Message(GtkWidget* dialog, const std::string& word) {
  if (word != "ok") return false;
  gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  return true;
}

bool Answer_Prompt(GtkWidget* dialog, const std::string& word) {
  return (word == "ok" || word == "skip") && Answer_Button(dialog, word.c_str());
}

bool Answer_License(GtkWidget* dialog, const std::string& word) {
  if (word == "accept") {
    gtk_button_clicked(GTK_BUTTON(g_object_get_data(G_OBJECT(dialog), "accept")));
    return Answer_Button(dialog, "next");
  }
  if (word == "decline" || word == "cancel") return Answer_Button(dialog, "cancel");
  if (word == "next") return Answer_Button(dialog, "next");
  return false;
}

struct PendingAnswer {
  GtkUi* ui;
  GtkWidget* dialog;
  std::string kind;
  bool (*answer)(GtkWidget*, const std::string&);
};

gboolean Give_Answer(gpointer data) {
  auto* pending = static_cast<PendingAnswer*>(data);
  std::optional<std::string> word = pending->ui->Hook()->Next_Answer();
  if (!word) {
    pending->ui->Trace("dialog " + pending->kind + " unanswered");
    gtk_dialog_response(GTK_DIALOG(pending->dialog), GTK_RESPONSE_DELETE_EVENT);
  } else if (!pending->answer(pending->dialog, *word)) {
    pending->ui->Trace("answer " + *word + " refused by " + pending->kind);
    gtk_dialog_response(GTK_DIALOG(pending->dialog), GTK_RESPONSE_DELETE_EVENT);
  } else {
    pending->ui->Trace("answer " + *word);
  }
  return G_SOURCE_REMOVE;
}

GtkWidget* Icon_Image(const char* name) { return gtk_image_new_from_icon_name(name, GTK_ICON_SIZE_DIALOG); }

std::string Executable_Folder() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

}  // namespace

GdkPixbuf* Pixbuf_Load(const std::string& path, const char* format_name) {
  GdkPixbufFormat* format = gdk_pixbuf_get_file_info(path.c_str(), nullptr, nullptr);
  if (!format) return nullptr;
  gchar* name = gdk_pixbuf_format_get_name(format);
  const bool wanted = g_strcmp0(name, format_name) == 0;
  g_free(name);
  return wanted ? gdk_pixbuf_new_from_file(path.c_str(), nullptr) : nullptr;
}

GdkPixbuf* Program_Icon() {
  const std::string folder = Executable_Folder();
  for (const std::string& path : {folder + "/autorun.xpm", folder + "/../share/kvr/autorun.xpm"})
    if (GdkPixbuf* icon = gdk_pixbuf_new_from_file(path.c_str(), nullptr)) return icon;
  return nullptr;
}

GtkUi::GtkUi(std::string caption, TestHook* hook, FILE* trace)
    : caption_(std::move(caption)), hook_(hook), trace_(trace) {}

bool GtkUi::Open_Display() {
  if (opened_) return display_ok_;
  opened_ = true;
  // Positions are the launcher's own on X11; a Wayland compositor would
  // ignore them.
  gdk_set_allowed_backends("x11");
  display_ok_ = gtk_init_check(nullptr, nullptr);
  if (!display_ok_) std::cerr << caption_ << ": cannot open the X11 display (is DISPLAY set?)\n";
  return display_ok_;
}

bool GtkUi::Need_Display(const char* what) {
  if (Open_Display()) return true;
  display_missing_ = true;
  std::cerr << caption_ << ": " << what << " needs a display\n";
  Trace(std::string("no display for ") + what);
  return false;
}

void GtkUi::Trace(std::string_view line) {
  if (!trace_) return;
  std::fwrite(line.data(), 1, line.size(), trace_);
  std::fputc('\n', trace_);
  std::fflush(trace_);
}

int GtkUi::Run_Dialog(GtkWidget* dialog, const char* kind, bool (*answer)(GtkWidget*, const std::string&)) {
  if (parent_) gtk_window_set_transient_for(GTK_WINDOW(dialog), parent_);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  Trace(std::string("dialog ") + kind);
  PendingAnswer pending{this, dialog, kind, answer};
  guint source = 0;
  if (hook_) source = g_timeout_add(200, Give_Answer, &pending);
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  if (source && g_main_context_find_source_by_id(nullptr, source)) g_source_remove(source);
  gtk_widget_destroy(dialog);
  return response;
}

void GtkUi::Message(std::string_view text, MessageIcon icon) {
  std::cerr << caption_ << ": " << text << "\n";
  Trace(std::string(icon == MessageIcon::kStop ? "message stop " : "message information ") +
        std::string(text));
  if (!Open_Display()) return;
  GtkWidget* dialog = gtk_message_dialog_new(
      parent_, GTK_DIALOG_MODAL, icon == MessageIcon::kStop ? GTK_MESSAGE_ERROR : GTK_MESSAGE_INFO,
      GTK_BUTTONS_OK, "%s", std::string(text).c_str());
  gtk_window_set_title(GTK_WINDOW(dialog), caption_.c_str());
  Run_Dialog(dialog, "message", Answer_Message);
}

bool GtkUi::Install_Prompt(const CInstallItem& entry) {
  if (!Need_Display("the install question")) return false;
  GtkWidget* dialog = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(dialog), "Install");
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
  gtk_container_set_border_width(GTK_CONTAINER(row), 12);
  gtk_box_pack_start(GTK_BOX(row), Icon_Image(entry.Skip ? "dialog-question" : "dialog-information"), FALSE,
                     FALSE, 0);
  GtkWidget* text = gtk_label_new(Text_1252_To_Utf8(entry.Message).c_str());
  gtk_label_set_line_wrap(GTK_LABEL(text), TRUE);
  gtk_label_set_max_width_chars(GTK_LABEL(text), 48);
  gtk_label_set_xalign(GTK_LABEL(text), 0);
  gtk_box_pack_start(GTK_BOX(row), text, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), row, TRUE, TRUE, 0);
  GtkWidget* skip = gtk_dialog_add_button(GTK_DIALOG(dialog), "_Skip", GTK_RESPONSE_CANCEL);
  GtkWidget* ok = gtk_dialog_add_button(GTK_DIALOG(dialog), "_OK", GTK_RESPONSE_OK);
  g_object_set_data(G_OBJECT(dialog), "skip", skip);
  g_object_set_data(G_OBJECT(dialog), "ok", ok);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  gtk_widget_show_all(dialog);
  if (!entry.Skip) gtk_widget_hide(skip);
  Trace("install prompt " + Text_1252_To_Utf8(entry.Message) + (entry.Skip ? " (skip)" : ""));
  return Run_Dialog(dialog, "install", Answer_Prompt) == GTK_RESPONSE_OK;
}

bool GtkUi::License_Agreement(const std::string& text) {
  Trace("license text " + text.substr(0, text.find_first_of("\r\n")));
  if (!Need_Display("the license agreement")) return false;
  GtkWidget* dialog = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(dialog), "License Agreement");
  gtk_window_set_default_size(GTK_WINDOW(dialog), 446, 356);
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
  gtk_container_set_border_width(GTK_CONTAINER(box), 10);
  GtkWidget* heading = gtk_label_new(kLicenseHeading);
  gtk_label_set_line_wrap(GTK_LABEL(heading), TRUE);
  gtk_label_set_xalign(GTK_LABEL(heading), 0);
  gtk_box_pack_start(GTK_BOX(box), heading, FALSE, FALSE, 0);

  GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER, GTK_POLICY_ALWAYS);
  GtkWidget* view = gtk_text_view_new();
  gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(view), GTK_WRAP_WORD_CHAR);
  gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(view)), text.c_str(), int(text.size()));
  // Black text on white, whatever the theme.
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, "textview text { background-color: #ffffff; color: #000000; }", -1,
                                  nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(view), GTK_STYLE_PROVIDER(css),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
  gtk_container_add(GTK_CONTAINER(scroller), view);
  gtk_box_pack_start(GTK_BOX(box), scroller, TRUE, TRUE, 0);

  GtkWidget* accept =
      gtk_radio_button_new_with_label(nullptr, "I accept the terms in the license agreement.");
  GtkWidget* refuse = gtk_radio_button_new_with_label_from_widget(
      GTK_RADIO_BUTTON(accept), "I do not accept the terms in the license agreement.");
  gtk_box_pack_start(GTK_BOX(box), accept, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(box), refuse, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), box, TRUE, TRUE, 0);
  GtkWidget* next = gtk_dialog_add_button(GTK_DIALOG(dialog), "Next >>", GTK_RESPONSE_OK);
  GtkWidget* cancel = gtk_dialog_add_button(GTK_DIALOG(dialog), "Cancel", GTK_RESPONSE_CANCEL);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(refuse), TRUE);
  gtk_widget_set_sensitive(next, FALSE);
  // "Next >>" is open exactly while the accepting button is chosen.
  g_signal_connect(accept, "toggled", G_CALLBACK(+[](GtkToggleButton* button, gpointer next_button) {
                     gtk_widget_set_sensitive(GTK_WIDGET(next_button), gtk_toggle_button_get_active(button));
                   }),
                   next);
  g_object_set_data(G_OBJECT(dialog), "accept", accept);
  g_object_set_data(G_OBJECT(dialog), "next", next);
  g_object_set_data(G_OBJECT(dialog), "cancel", cancel);
  gtk_widget_show_all(dialog);
  return Run_Dialog(dialog, "license", Answer_License) == GTK_RESPONSE_OK;
}

void GtkUi::About() {
  GtkWidget* dialog = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(dialog), "About AutoRun");
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
  gtk_container_set_border_width(GTK_CONTAINER(row), 12);
  if (GdkPixbuf* icon = Program_Icon()) {
    gtk_box_pack_start(GTK_BOX(row), gtk_image_new_from_pixbuf(icon), FALSE, FALSE, 0);
    g_object_unref(icon);
  }
  GtkWidget* lines = gtk_box_new(GTK_ORIENTATION_VERTICAL, 4);
  for (const char* line : {"AutoRun", "Version 1.0", "Powered by Runwright"}) {
    GtkWidget* label = gtk_label_new(line);
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_box_pack_start(GTK_BOX(lines), label, FALSE, FALSE, 0);
  }
  gtk_box_pack_start(GTK_BOX(row), lines, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), row, TRUE, TRUE, 0);
  gtk_dialog_add_button(GTK_DIALOG(dialog), "_OK", GTK_RESPONSE_OK);
  gtk_widget_show_all(dialog);
  Run_Dialog(dialog, "about", Answer_Message);
}

namespace {

struct SplashRun {
  GtkUi* ui;
  SplashTimers timers;
  SplashSound* player;
  GtkWidget* window;
  GMainLoop* loop;
};

void Splash_Apply(SplashRun& run, const SplashStep& step) {
  if (step.stop_sound) {
    run.player->Stop();
    run.ui->Trace("splash sound stopped");
  }
  if (step.hide) {
    gtk_widget_hide(run.window);
    run.ui->Trace("splash hidden");
  }
  if (step.end) g_main_loop_quit(run.loop);
}

gboolean Splash_Picture_Timer(gpointer data) {
  auto& run = *static_cast<SplashRun*>(data);
  Splash_Apply(run, run.timers.Picture_Timer());
  return G_SOURCE_REMOVE;
}

gboolean Splash_Sound_Timer(gpointer data) {
  auto& run = *static_cast<SplashRun*>(data);
  Splash_Apply(run, run.timers.Sound_Timer());
  return G_SOURCE_REMOVE;
}

// A press of the left button anywhere on the picture drags the window.
gboolean Splash_Press(GtkWidget* widget, GdkEventButton* event, gpointer) {
  if (event->button != 1) return FALSE;
  gtk_window_begin_move_drag(GTK_WINDOW(gtk_widget_get_toplevel(widget)), 1, int(event->x_root),
                             int(event->y_root), event->time);
  return TRUE;
}

}  // namespace

bool GtkUi::Splash(const CSettingsSplash& splash, const std::string& picture, const std::string& sound,
                   SplashSound& player) {
  if (access(picture.c_str(), R_OK) != 0 || !Need_Display("the splash picture")) return false;
  GdkPixbuf* pixbuf = Pixbuf_Load(picture, "bmp");  // only BMP files count
  if (!pixbuf) return false;
  const int width = gdk_pixbuf_get_width(pixbuf), height = gdk_pixbuf_get_height(pixbuf);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_modal(GTK_WINDOW(window), TRUE);
  if (parent_) gtk_window_set_transient_for(GTK_WINDOW(window), parent_);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  GtkWidget* events = gtk_event_box_new();
  gtk_container_add(GTK_CONTAINER(events), gtk_image_new_from_pixbuf(pixbuf));
  g_object_unref(pixbuf);
  g_signal_connect(events, "button-press-event", G_CALLBACK(Splash_Press), nullptr);
  gtk_container_add(GTK_CONTAINER(window), events);
  gtk_widget_set_size_request(window, width, height);
  gtk_widget_show_all(window);
  Trace("splash shown " + std::to_string(width) + "x" + std::to_string(height));

  SplashRun run{this, SplashTimers(splash, !sound.empty()), &player, window, g_main_loop_new(nullptr, FALSE)};
  const SplashStart& start = run.timers.Start();
  if (start.sound != SplashSoundPlay::kNone) {
    player.Play(sound, start.sound == SplashSoundPlay::kLoop);
    Trace(start.sound == SplashSoundPlay::kLoop ? "splash sound loop" : "splash sound once");
  }
  const guint picture_timer = g_timeout_add(guint(start.picture_ms), Splash_Picture_Timer, &run);
  const guint sound_timer =
      start.sound_ms >= 0 ? g_timeout_add(guint(start.sound_ms), Splash_Sound_Timer, &run) : 0;
  g_main_loop_run(run.loop);
  for (guint source : {picture_timer, sound_timer})
    if (source && g_main_context_find_source_by_id(nullptr, source)) g_source_remove(source);
  g_main_loop_unref(run.loop);
  gtk_widget_destroy(window);
  return true;
}

void GtkUi::Wait(LauncherWindow& window, ChildProcess& child, bool disable) {
  GtkWidget* widget = window.Widget();
  // The window takes no input while the program runs, so what the user does
  // meanwhile is lost; `disable` also shows the wait cursor.
  gtk_widget_set_sensitive(widget, FALSE);
  GdkWindow* gdk_window = gtk_widget_get_window(widget);
  if (disable && gdk_window) {
    GdkCursor* cursor = gdk_cursor_new_for_display(gdk_window_get_display(gdk_window), GDK_WATCH);
    gdk_window_set_cursor(gdk_window, cursor);
    g_object_unref(cursor);
  }
  struct Poll {
    ChildProcess* child;
    GMainLoop* loop;
  } poll{&child, g_main_loop_new(nullptr, FALSE)};
  g_timeout_add(
      500,
      +[](gpointer data) -> gboolean {
        auto* p = static_cast<Poll*>(data);
        if (p->child->Exit_Code()) {
          g_main_loop_quit(p->loop);
          return G_SOURCE_REMOVE;
        }
        return G_SOURCE_CONTINUE;
      },
      &poll);
  g_main_loop_run(poll.loop);
  g_main_loop_unref(poll.loop);
  if (disable && gdk_window) gdk_window_set_cursor(gdk_window, nullptr);
  gtk_widget_set_sensitive(widget, TRUE);
  if (gtk_widget_get_visible(widget)) gtk_window_present(GTK_WINDOW(widget));
}
