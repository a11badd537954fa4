#include "autorun/launcher_window.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <filesystem>

#include <sys/stat.h>

#include "autorun/page_link.h"
#include "host/text_1252.h"
#include "autorun/window_placement.h"

namespace {

struct LinkRun {
  LauncherWindow* window;
  const CButtonData* button;
};

gboolean On_Policy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                   gpointer self) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
      type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION)
    return FALSE;
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  if (!uri || !static_cast<LauncherWindow*>(self)->Follow_Link(uri)) return FALSE;
  webkit_policy_decision_ignore(decision);
  return TRUE;
}

void On_Load(WebKitWebView*, WebKitLoadEvent event, gpointer self) {
  if (event == WEBKIT_LOAD_FINISHED) static_cast<LauncherWindow*>(self)->Page_Loaded();
}

// Every key counts as handled, so the web view's own shortcuts do nothing;
// Escape closes the window.
gboolean On_Key(GtkWidget*, GdkEventKey* event, gpointer self) {
  if (event->keyval == GDK_KEY_Escape) static_cast<LauncherWindow*>(self)->Close();
  return TRUE;
}

gboolean On_Delete(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<LauncherWindow*>(self)->Close();
  return TRUE;
}

gboolean On_Map(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<LauncherWindow*>(self)->Place();
  return FALSE;
}

}  // namespace

LauncherWindow::LauncherWindow(CAutorunSettings& settings, std::string launcher_dir, CActionRunner& runner,
                               GtkUi& ui)
    : settings_(settings), launcher_dir_(std::move(launcher_dir)), runner_(runner), ui_(ui) {}

int LauncherWindow::Run() {
  if (!ui_.Open_Display()) return 1;
  const CSettingsHtml& html = settings_.Html;
  const std::string page = Native_Path(Resolve_Program_Path(launcher_dir_, html.Filename));
  struct stat st;
  if (html.Filename.empty() || ::stat(page.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    ui_.Message(kPageMissing, MessageIcon::kStop);
    return 1;
  }

  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  const std::string title = html.WindowName.empty() ? "AutoRun" : Text_1252_To_Utf8(html.WindowName);
  gtk_window_set_title(GTK_WINDOW(window_), title.c_str());
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  GdkPixbuf* icon = nullptr;
  if (settings_.Icon.Type != 2 || settings_.Icon.Filename.empty()) {
    icon = Program_Icon();
  } else if (settings_.Icon.Number == 0) {
    // An icon file holds one icon, index 0; other indexes give none.
    icon = Pixbuf_Load(Native_Path(Resolve_Icon_Path(settings_.Icon.Filename)), "ico");
  }
  if (icon) {
    gtk_window_set_icon(GTK_WINDOW(window_), icon);
    g_object_unref(icon);
  }
  ui_.Trace("window title " + title + (icon ? "" : " (no icon)"));

  // GTK cannot add to the window manager's menu: the About item sits in a
  // menu of the window.
  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  GtkWidget* bar = gtk_menu_bar_new();
  GtkWidget* help = gtk_menu_item_new_with_mnemonic("_Help");
  GtkWidget* menu = gtk_menu_new();
  GtkWidget* about = gtk_menu_item_new_with_mnemonic("_About AutoRun...");
  g_signal_connect(about, "activate",
                   G_CALLBACK(+[](GtkMenuItem*, gpointer ui) { static_cast<GtkUi*>(ui)->About(); }), &ui_);
  gtk_menu_shell_append(GTK_MENU_SHELL(menu), about);
  gtk_menu_item_set_submenu(GTK_MENU_ITEM(help), menu);
  gtk_menu_shell_append(GTK_MENU_SHELL(bar), help);
  gtk_box_pack_start(GTK_BOX(box), bar, FALSE, FALSE, 0);

  view_ = WEBKIT_WEB_VIEW(webkit_web_view_new());
  WebKitSettings* web = webkit_web_view_get_settings(view_);
  webkit_settings_set_enable_developer_extras(web, FALSE);
  // The page has no context menu; scroll bars appear only when it is larger
  // than the view.
  g_signal_connect(view_, "context-menu", G_CALLBACK(+[]() -> gboolean { return TRUE; }), nullptr);
  g_signal_connect(view_, "decide-policy", G_CALLBACK(On_Policy), this);
  g_signal_connect(view_, "load-changed", G_CALLBACK(On_Load), this);
  gtk_box_pack_start(GTK_BOX(box), GTK_WIDGET(view_), TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(window_), box);

  g_signal_connect(window_, "key-press-event", G_CALLBACK(On_Key), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(On_Delete), this);
  g_signal_connect(window_, "map-event", G_CALLBACK(On_Map), this);
  ui_.Set_Parent(GTK_WINDOW(window_));
  Place();

  std::error_code error;
  const std::string absolute = std::filesystem::absolute(page, error).string();
  gchar* uri = g_filename_to_uri(absolute.c_str(), nullptr, nullptr);
  ui_.Trace(std::string("page ") + (uri ? uri : page.c_str()));
  webkit_web_view_load_uri(view_, uri ? uri : page.c_str());
  g_free(uri);
  gtk_widget_show_all(window_);

  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  loop_ = loop;
  g_main_loop_run(loop);
  loop_ = nullptr;
  g_main_loop_unref(loop);
  ui_.Set_Parent(nullptr);
  gtk_widget_destroy(window_);
  window_ = nullptr;
  while (gtk_events_pending()) gtk_main_iteration();
  return 0;
}

void LauncherWindow::Place() {
  GdkDisplay* display = gtk_widget_get_display(window_);
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return;
  GdkRectangle area;
  gdk_monitor_get_workarea(monitor, &area);
  const WindowRect rect = Window_Placement(settings_.Html, area.x, area.y, area.width, area.height);
  // Width and Height are the outer size: once the window is shown the
  // window manager's frame is known and taken off.
  int frame_width = 0, frame_height = 0;
  GdkWindow* gdk_window = gtk_widget_get_window(window_);
  if (gdk_window && gtk_widget_get_mapped(window_)) {
    GdkRectangle frame;
    gdk_window_get_frame_extents(gdk_window, &frame);
    frame_width = frame.width - gdk_window_get_width(gdk_window);
    frame_height = frame.height - gdk_window_get_height(gdk_window);
  }
  gtk_widget_set_size_request(gtk_bin_get_child(GTK_BIN(window_)), std::max(1, rect.width - frame_width),
                              std::max(1, rect.height - frame_height));
  gtk_window_move(GTK_WINDOW(window_), rect.x, rect.y);
  if (!placed_ || gtk_widget_get_mapped(window_))
    ui_.Trace("window at " + std::to_string(rect.x) + "," + std::to_string(rect.y) + " size " +
              std::to_string(rect.width) + "x" + std::to_string(rect.height) + " frame " +
              std::to_string(frame_width) + "x" + std::to_string(frame_height));
  placed_ = true;
}

void LauncherWindow::Page_Loaded() {
  if (page_loaded_) return;
  page_loaded_ = true;
  ui_.Trace("page loaded");
  if (ui_.Hook())
    g_timeout_add(
        300, [](gpointer self) { return gboolean(Hook_Step(self)); }, this);
}

bool LauncherWindow::Follow_Link(const std::string& uri) {
  std::optional<std::string> name = Link_Button_Name(uri);
  if (!name) return false;
  hook_waits_link_ = false;
  ui_.Trace("link " + uri);
  if (running_) {
    ui_.Trace("link ignored: a button runs");
    return true;
  }
  const CButtonData* button = Find_Button(settings_.Button.Buttons, *name);
  if (!button) {
    ui_.Trace("link to no button: " + Text_1252_To_Utf8(*name));
    return true;
  }
  // The policy decision is made first; the button runs from the main loop.
  ++pending_links_;
  g_idle_add(
      [](gpointer data) -> gboolean {
        auto* run = static_cast<LinkRun*>(data);
        run->window->Dispatch(*run->button);
        delete run;
        return G_SOURCE_REMOVE;
      },
      new LinkRun{this, button});
  return true;
}

void LauncherWindow::Dispatch(const CButtonData& button) {
  --pending_links_;
  if (!loop_ || running_) return;
  running_ = true;
  ui_.Trace("button " + Text_1252_To_Utf8(button.Name));
  if (button.ButtonType == 3) {
    Close();
  } else {
    if (button.WindowClose) {
      gtk_widget_hide(window_);
      ui_.Trace("window hidden");
    }
    const bool done = runner_.RunButton(button, this);
    ui_.Trace(std::string("button ended ") + (done ? "true" : "false"));
    if (button.WindowClose && done) {
      Close();
    } else if (button.WindowClose) {
      gtk_widget_show(window_);
      gtk_window_present(GTK_WINDOW(window_));
      ui_.Trace("window shown");
    }
  }
  running_ = false;
}

void LauncherWindow::Close() {
  if (!loop_) return;
  ui_.Trace("window closed");
  g_main_loop_quit(static_cast<GMainLoop*>(loop_));
}

int LauncherWindow::Hook_Step(void* self) {
  auto* window = static_cast<LauncherWindow*>(self);
  if (!window->loop_) return G_SOURCE_REMOVE;
  // A click's link may take a moment to come back from the web process.
  if (window->hook_waits_link_ && ++window->hook_wait_polls_ < 100) return G_SOURCE_CONTINUE;
  if (window->hook_waits_link_) {
    window->ui_.Trace("click reached no link");
    window->hook_waits_link_ = false;
  }
  if (window->running_ || window->pending_links_ > 0) return G_SOURCE_CONTINUE;
  window->Run_Hook_Action();
  return G_SOURCE_REMOVE;
}

void LauncherWindow::Run_Hook_Action() {
  std::optional<HookAction> action = ui_.Hook()->Next_Action();
  if (!action) {
    ui_.Trace("hook done");
    Close();
    return;
  }
  auto next = [this](guint ms) {
    g_timeout_add(
        ms, [](gpointer self) { return gboolean(Hook_Step(self)); }, this);
  };
  const std::string& verb = action->verb;
  const std::string& argument = action->argument;
  ui_.Trace("hook " + verb + (argument.empty() ? "" : " " + argument));
  if (verb == "click") {
    hook_waits_link_ = true;
    hook_wait_polls_ = 0;
    gchar* quoted = g_strescape(argument.c_str(), nullptr);
    const std::string script = std::string("(function(){for (const a of document.querySelectorAll('a'))") +
                               " if (a.getAttribute('href') === \"" + quoted +
                               "\") { a.click(); return true; }" + " return false; })()";
    g_free(quoted);
    webkit_web_view_evaluate_javascript(
        view_, script.c_str(), -1, nullptr, nullptr, nullptr,
        [](GObject* view, GAsyncResult* result, gpointer self) {
          JSCValue* value =
              webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, nullptr);
          auto* window = static_cast<LauncherWindow*>(self);
          if (!value || !jsc_value_to_boolean(value)) {
            window->ui_.Trace("click found no link");
            window->hook_waits_link_ = false;
          }
          if (value) g_object_unref(value);
        },
        this);
    next(50);
  } else if (verb == "key") {
    GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window_)));
    event->key.keyval = gdk_keyval_from_name(argument.c_str());
    event->key.time = GDK_CURRENT_TIME;
    gdk_event_set_device(
        event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gtk_widget_get_display(window_))));
    gtk_main_do_event(event);
    gdk_event_free(event);
    next(50);
  } else if (verb == "about") {
    running_ = true;
    ui_.About();
    running_ = false;
    next(50);
  } else if (verb == "shot") {
    GdkWindow* gdk_window = gtk_widget_get_window(window_);
    GdkPixbuf* shot = gdk_window
                          ? gdk_pixbuf_get_from_window(gdk_window, 0, 0, gdk_window_get_width(gdk_window),
                                                       gdk_window_get_height(gdk_window))
                          : nullptr;
    const bool saved = shot && gdk_pixbuf_save(shot, argument.c_str(), "png", nullptr, nullptr);
    if (shot) g_object_unref(shot);
    ui_.Trace(saved ? "shot written" : "shot failed");
    next(50);
  } else if (verb == "wait") {
    next(guint(std::max(0, Atoi(argument))));
  } else if (verb == "close") {
    Close();
  }
}
