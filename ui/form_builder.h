// Windows are described by tables of their components (name, kind, parent,
// position and size at 96 dpi, caption, tab order) and built from them.
#pragma once

#include <QString>
#include <QWidget>

#include <span>
#include <stdexcept>

namespace glyphary::ui {

enum class Kind {
  Label,
  BoldLabel,
  Edit,
  CaptionEdit,  // a caption's text, line breaks shown as marks
  Button,
  CheckBox,
  RadioButton,
  Frame,     // frame without caption
  GroupBox,  // frame with caption
  SpinEdit,
  PageControl,          // tabbed pages; its pages name it as parent
  Page,                 // caption is the tab's text; no geometry of its own
  ComboBox,             // editable: free text plus a drop-down list
  List,                 // drop-down list without free text
  ToggleButton,         // flat button that stays pressed; caption is its icon's resource path
  ColorSwatch,          // caption-less label filled with a colour
  Image,                // the caption preview
  LabelledCaptionEdit,  // CaptionEdit; caption is the text of its own label, 3 px to its left
  TreeView,             // the owner gives it a model
};

struct Component {
  const char* name;
  Kind kind;
  const char* parent;  // nullptr: the window's client area
  int left, top, width, height;
  const char* caption = "";
  int tabOrder = -1;  // within its parent; -1 takes no focus by tab
};

// Creates every component under `client`, in table order (parents first).
void BuildComponents(QWidget* client, std::span<const Component> components);

// The label a LabelledEdit carries is named after it with this suffix.
inline constexpr const char* kEditLabelSuffix = "_label";

// Chains the keyboard focus through the components: each parent's children
// in their tab order, descending into containers where they stand.
void ApplyTabOrder(QWidget* client, std::span<const Component> components);

// The named child; a missing one is a programming error.
template <typename T>
T* Child(const QWidget* root, const char* name) {
  T* child = root->findChild<T*>(QString::fromLatin1(name));
  if (!child) throw std::logic_error(std::string("no component ") + name);
  return child;
}

}  // namespace glyphary::ui
