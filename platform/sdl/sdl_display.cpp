#include "platform/sdl/sdl_display.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/sdl/sdl_key_map.h"
#include "platform/sdl/sdl_scaling.h"
#include "platform/sdl/sdl_text_input.h"

namespace {

inline constexpr int kEngineWidth = 640;
inline constexpr int kEngineHeight = 480;

// The engine's mode and every size the movie player fits movies into.
constexpr HardwareMode kModes[] = {
    {320, 240, 16, 640},   {512, 384, 16, 1024},   {640, 480, 16, 1280},   {800, 600, 16, 1600},
    {1024, 768, 16, 2048}, {1280, 1024, 16, 2560}, {1600, 1200, 16, 3200},
};

// The largest whole multiple of the engine's screen that fits the desktop.
int Start_Scale() {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
  return std::max(1, std::min(usable.w / kEngineWidth, usable.h / kEngineHeight));
}

}  // namespace

SdlDisplay::SdlDisplay() = default;

SdlDisplay::~SdlDisplay() { Destroy_Window(); }

// ---------------------------------------------------------------- window

bool SdlDisplay::Register_Class() {
  // The close button must not end the program, and Ctrl+C in a terminal
  // keeps its usual meaning.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Normal priority: SDL_RENDER_SCALE_QUALITY in the environment wins.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (!video_ && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  video_ = true;
  return true;
}

bool SdlDisplay::Create_Window(std::string_view caption) {
  if (!video_) return false;
  int scale = Start_Scale();
  std::string title(caption);
  window_ =
      SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kEngineWidth * scale,
                       kEngineHeight * scale, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
  if (!window_) return false;
  SDL_StartTextInput();
  return true;
}

void SdlDisplay::Show_Window() {
  if (window_) SDL_ShowWindow(window_);
}

void SdlDisplay::Set_Title(std::string_view title) {
  if (window_) SDL_SetWindowTitle(window_, std::string(title).c_str());
}

void SdlDisplay::Set_Icon(int width, int height, std::span<const uint32_t> argb) {
  if (!window_) return;
  std::vector<uint32_t> pixels(argb.begin(), argb.begin() + ptrdiff_t(width) * height);
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32, width * 4,
                                                            SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return;
  SDL_SetWindowIcon(window_, surface);  // SDL keeps its own copy
  SDL_FreeSurface(surface);
}

// In a window nothing has to be given back; in full screen the window
// gets out of the way.
void SdlDisplay::Minimise() {
  if (window_ && full_screen_) SDL_MinimizeWindow(window_);
}

void SdlDisplay::Restore() {
  if (window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED)) SDL_RestoreWindow(window_);
}

void SdlDisplay::Destroy_Window() {
  Release();
  if (renderer_) SDL_DestroyRenderer(renderer_);
  renderer_ = nullptr;
  if (window_) SDL_DestroyWindow(window_);
  window_ = nullptr;
  if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  video_ = false;
}

void SdlDisplay::Toggle_Full_Screen() {
  full_screen_ = !full_screen_;
  SDL_SetWindowFullscreen(window_, full_screen_ ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  Push(WindowEventType::kPaint);
}

void SdlDisplay::Show_Fatal(std::string_view text, std::string_view caption) {
  std::fprintf(stderr, "%.*s: %.*s\n", int(caption.size()), caption.data(), int(text.size()), text.data());
  std::fflush(stderr);
  std::string title(caption), message(text);
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), message.c_str(), window_);
}

// ---------------------------------------------------------------- events

void SdlDisplay::Push(WindowEventType type) {
  WindowEvent e;
  e.type = type;
  pending_.push_back(e);
}

void SdlDisplay::Translate_Window(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST: {
      WindowEvent e;
      e.type = WindowEventType::kActivateApp;
      e.active = event.event == SDL_WINDOWEVENT_FOCUS_GAINED;
      pending_.push_back(e);
      break;
    }
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: Push(WindowEventType::kPaint); break;
    case SDL_WINDOWEVENT_CLOSE: Push(WindowEventType::kClose); break;
    default: break;
  }
}

void SdlDisplay::Translate_Key(const SDL_KeyboardEvent& event, bool down) {
  SDL_Keycode key = event.keysym.sym;
  Uint16 mod = event.keysym.mod;
  bool alt = (mod & KMOD_ALT) != 0, ctrl = (mod & KMOD_CTRL) != 0;
  bool enter = key == SDLK_RETURN || key == SDLK_KP_ENTER;
  if (alt && enter) {  // the backend's own key: the game never sees it
    if (down && !event.repeat) Toggle_Full_Screen();
    return;
  }
  if (ctrl && key == SDLK_q) {
    if (down && !event.repeat) Push(WindowEventType::kQuitRequest);
    return;
  }
  WindowEvent e;
  e.virtual_key = Virtual_Key_For_Sdl(key, event.keysym.scancode, (mod & KMOD_NUM) != 0);
  PcScanCode scan = Scan_Code_For_Sdl(event.keysym.scancode);
  e.key_data = Key_Data(scan.code, scan.extended) | (event.repeat ? 1u << 30 : 0u) | (down ? 0u : 3u << 30);
  bool system = alt || e.virtual_key == 0x79;  // F10 is a system key too
  if (down) {
    e.type = system ? WindowEventType::kSysKeyDown : WindowEventType::kKeyDown;
  } else {
    e.type = system ? WindowEventType::kSysKeyUp : WindowEventType::kKeyUp;
  }
  pending_.push_back(e);
  int character = (down && !ctrl) ? Control_Character_For(e.virtual_key) : 0;
  if (character) {
    WindowEvent c;
    c.type = alt ? WindowEventType::kSysCharacter : WindowEventType::kCharacter;
    c.character = character;
    pending_.push_back(c);
  }
}

void SdlDisplay::Translate_Text(const char* text) {
  for (int character : Window_Characters(text)) {
    WindowEvent e;
    e.type = WindowEventType::kCharacter;
    e.character = character;
    pending_.push_back(e);
  }
}

void SdlDisplay::Translate(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT: Translate_Window(event.window); break;
    case SDL_KEYDOWN: Translate_Key(event.key, true); break;
    case SDL_KEYUP: Translate_Key(event.key, false); break;
    case SDL_TEXTINPUT: Translate_Text(event.text.text); break;
    case SDL_MOUSEMOTION: pointer_.Move_By(event.motion.xrel, event.motion.yrel); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT) pointer_.Button(1, event.type == SDL_MOUSEBUTTONDOWN);
      if (event.button.button == SDL_BUTTON_RIGHT) pointer_.Button(2, event.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET: lost_ = true; break;
    case SDL_QUIT: Push(WindowEventType::kQuitRequest); break;
    default: break;
  }
}

bool SdlDisplay::Peek_Event(WindowEvent& event) {
  SDL_Event sdl;
  while (pending_.empty() && video_ && SDL_PollEvent(&sdl)) Translate(sdl);
  if (pending_.empty()) return false;
  event = pending_.front();
  pending_.pop_front();
  return true;
}

void SdlDisplay::Wait_Event() {
  if (pending_.empty() && video_) SDL_WaitEvent(nullptr);
}

// ---------------------------------------------------------------- pointer

void SdlDisplay::Screen_Size(int& width, int& height) {
  width = width_ ? width_ : kEngineWidth;
  height = width_ ? height_ : kEngineHeight;
}

void SdlDisplay::Cursor_Pos(int& x, int& y) {
  x = pointer_.X();
  y = pointer_.Y();
}

void SdlDisplay::Show_Cursor(bool show) {
  cursor_shown_ = show;
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
  // Hidden, the pointer only reports movement (relative mode); shown, it
  // is the desktop's again.
  if (video_) SDL_SetRelativeMouseMode(show ? SDL_FALSE : SDL_TRUE);
}

uint64_t SdlDisplay::Counter() {
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(since).count());
}

// ---------------------------------------------------------------- card

// The renderer is kept across Release: it belongs to the window, and only
// the mode's texture and surfaces are given back.
bool SdlDisplay::Create() {
  if (!window_) return false;
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
  if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  return renderer_ != nullptr;
}

std::vector<HardwareMode> SdlDisplay::Enumerate_Modes() {
  return renderer_ ? std::vector<HardwareMode>(std::begin(kModes), std::end(kModes))
                   : std::vector<HardwareMode>{};
}

bool SdlDisplay::Make_Texture() {
  Destroy_Texture();
  texture_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, width_, height_);
  return texture_ != nullptr;
}

void SdlDisplay::Destroy_Texture() {
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ = nullptr;
}

bool SdlDisplay::Set_Display_Mode(int width, int height, int bits) {
  bool known = std::any_of(std::begin(kModes), std::end(kModes), [&](const HardwareMode& m) {
    return m.width == width && m.height == height && m.bits == bits;
  });
  if (!renderer_ || !known) return false;
  width_ = width;
  height_ = height;
  pointer_.Set_Screen(width, height);
  if (!cursor_shown_) SDL_SetRelativeMouseMode(SDL_TRUE);
  return Make_Texture();
}

bool SdlDisplay::Restore_Display_Mode() {
  Destroy_Texture();
  width_ = height_ = 0;
  return true;
}

bool SdlDisplay::Create_Flip_Chain() {
  if (!texture_) return false;
  primary_.assign(size_t(width_) * size_t(height_) * 2, 0);
  back_.assign(primary_.size(), 0);
  return true;
}

bool SdlDisplay::Create_Primary() {
  if (!texture_) return false;
  primary_.assign(size_t(width_) * size_t(height_) * 2, 0);
  back_.clear();
  return true;
}

void SdlDisplay::Release_Surfaces() {
  primary_.clear();
  back_.clear();
}

void SdlDisplay::Release() {
  Release_Surfaces();
  Destroy_Texture();
  width_ = height_ = 0;
  if (video_) SDL_SetRelativeMouseMode(SDL_FALSE);
}

void SdlDisplay::Restore_Surfaces() {
  if (!lost_) return;
  lost_ = false;
  if (width_ && !Make_Texture()) lost_ = true;
}

bool SdlDisplay::Lock(SurfaceLock& lock) {
  std::vector<uint8_t>& surface = back_.empty() ? primary_ : back_;
  if (surface.empty() || lost_ || !texture_) return false;
  lock = {surface.data(), width_ * 2, width_, height_};
  return true;
}

void SdlDisplay::Unlock() {
  if (back_.empty()) Present(primary_);
}

void SdlDisplay::Flip() {
  if (back_.empty()) return;
  std::swap(primary_, back_);
  Present(primary_);
}

void SdlDisplay::Present(const std::vector<uint8_t>& surface) {
  if (!texture_ || surface.empty()) return;
  SDL_UpdateTexture(texture_, nullptr, surface.data(), width_ * 2);
  Draw();
}

void SdlDisplay::Draw() {
  if (!renderer_) return;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  if (texture_) {
    int out_w = 0, out_h = 0;
    SDL_GetRendererOutputSize(renderer_, &out_w, &out_h);
    ScaledRect r = Scale_Into(out_w, out_h, width_, height_);
    SDL_Rect target{r.x, r.y, r.width, r.height};
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
  }
  SDL_RenderPresent(renderer_);
}
