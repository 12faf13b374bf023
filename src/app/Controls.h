// The controls of the main window as plain state: each holds exactly what the program reads and
// writes (caption or text, ticks, enabled, visible, items, bounds); the native window draws them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "widgets/Graphics.h"

namespace app {

using widgets::TColor;
using widgets::TFont;

// A page of the page book that carries a control, or none for the header and the button bar.
inline constexpr std::int32_t NoPage = -1;

enum class TAlignment { LeftJustify, RightJustify, Center };

struct TControl {
  std::int32_t Left{0};
  std::int32_t Top{0};
  std::int32_t Width{0};  // 0 with AutoSize: as wide as the caption
  std::int32_t Height{0}; // 0 with AutoSize: as high as the caption
  bool Visible{true};
  bool Enabled{true};
  std::int32_t Page{NoPage};
};

struct TLabel : TControl {
  std::string Caption;
  bool AutoSize{true};
  bool WordWrap{false};
  bool Transparent{false};
  TAlignment Alignment{TAlignment::LeftJustify};
  TFont Font;
};

// The link label: a label with its own mouse pointer.
struct TRxLabel : TLabel {
  platform::Cursor Cursor{platform::Cursor::Default};
};

struct TButton : TControl {
  std::string Caption;
};

struct TCheckBox : TControl {
  std::string Caption;
  bool Checked{false};
};

struct TRadioButton : TControl {
  std::string Caption;
  bool Checked{false};
};

struct TEdit : TControl {
  std::string Text;
};

// A text field with a button that opens the system's folder picker.
struct TDirectoryEdit : TEdit {};

struct TMemo : TControl {
  std::vector<std::string> Lines;
  bool ReadOnly{false};
  bool VerticalScrollBar{false};
  bool Bevel{true};
  TColor Color{0xFFFFFF};
};

struct TListBox : TControl {
  std::vector<std::string> Items;
};

// A listing of one folder's files; the uninstaller fills and reads it.
struct TFileListBox : TListBox {
  std::string Directory;
  std::string Mask{"*.*"};
};

struct TProgressBar : TControl {
  std::int32_t Min{0};
  std::int32_t Max{100};
  std::int32_t Position{0};
  std::int32_t Step{10};
};

// What an image control shows: a file loaded from disk, or one of the program's own pictures
// (named by BuiltIn) when FileName is empty.
struct TPicture {
  std::string BuiltIn;
  std::string FileName;
  std::int32_t Width{0};
  std::int32_t Height{0};
};

struct TImage : TControl {
  bool AutoSize{false};
  bool Stretch{false};
  bool Transparent{false};
  TPicture Picture;
  // Loads a picture file by its extension (.ico, .bmp, .jpg/.jpeg, .gif); with AutoSize the
  // control takes the picture's size. A file that cannot be read or is not such a picture
  // leaves the control as it was and gives false.
  bool LoadFromFile(const std::string& path);
};

// The animated busy indicator.
struct TGifAnimator : TControl {
  std::string Animation;
  bool Animate{true};
};

enum class TShapeType { Rectangle, RoundRect };

struct TShape : TControl {
  TShapeType Shape{TShapeType::Rectangle};
  TColor BrushColor{0xFFFFFF};
  TColor PenColor{0x000000};
};

struct TPanel : TControl {
  bool AlignBottom{false};
};

// The shell folder view of the Folder page: the folders of one shell folder, one selectable.
struct TShellListView : TControl {
  struct Item {
    std::string DisplayName;
    bool Selected{false};
  };
  std::vector<Item> Items;
};

// The page book: one page visible at a time. A change of the page index (only a real change,
// to a page that exists) calls OnPageChanged.
class TNotebook : public TControl {
public:
  static constexpr std::int32_t PageCount = 12;

  std::int32_t PageIndex() const { return pageIndex_; }
  void SetPageIndex(std::int32_t index) {
    if (index == pageIndex_ || index < 0 || index >= PageCount) return;
    pageIndex_ = index;
    if (OnPageChanged) OnPageChanged();
  }

  std::function<void()> OnPageChanged;

private:
  std::int32_t pageIndex_{0};
};

// A timer of the main window. While enabled it ticks from the message loop every Interval
// milliseconds; the window system runs it through the UI service.
class TTimer {
public:
  explicit TTimer(int id) : id_(id) {}
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;
  ~TTimer() {
    if (enabled_) platform::ui().stopTimer(id_);
  }

  int Id() const { return id_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled)
      platform::ui().startTimer(id_, Interval, [this] {
        if (OnTimer) OnTimer();
      });
    else
      platform::ui().stopTimer(id_);
  }

  std::uint32_t Interval{1000};
  std::function<void()> OnTimer;

private:
  int id_;
  bool enabled_{false};
};

// A component the window owns and frees with itself (the page-source fetcher joins as one).
class TComponent {
public:
  virtual ~TComponent() = default;
};

} // namespace app
