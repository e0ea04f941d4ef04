#include "app/forms_lifecycle.h"

#include <QStringList>

#include "app/application.h"
#include "ui/about_box.h"
#include "ui/effect_dialog.h"
#include "ui/error_display.h"
#include "ui/folder_browser.h"
#include "ui/forms.h"
#include "ui/layout_dialog.h"
#include "ui/main_window.h"
#include "ui/production_dialog.h"
#include "ui/settings_dialog.h"

namespace glyphary::app {
namespace {

// A handler's failure is shown, as the event loop would show it.
template <typename F>
void Shown(F&& handler) {
  try {
    handler();
  } catch (...) {
    ui::ShowCurrentException();
  }
}

// The stores at exit, each tried even when one before it failed. They write
// one file, so their failures are shown together, each message once, while
// the main window is still there to show them over.
class ExitStores {
 public:
  template <typename F>
  void Try(F&& store) {
    try {
      store();
    } catch (...) {
      const QString text = ui::CurrentExceptionText();
      if (!failures_.contains(text)) failures_.append(text);
    }
  }
  void ShowFailures() const {
    if (!failures_.isEmpty()) ui::ShowError(failures_.join('\n'));
  }

 private:
  QStringList failures_;
};

template <typename T>
void Destroy(T*& form) {
  delete form;
  form = nullptr;
}

}  // namespace

// The windows know none of each other's insides: what one needs from
// another is connected here.
void CreateForms() {
  frm_main = new Tfrm_main;
  Shown([] { frm_main->FormCreate(); });
  Tfrm_main* main = frm_main;
  frm_production =
      new Tfrm_production(main, {[main] { return main->CurrentStyle(); }, main->Engine()});
  Shown([] { frm_production->FormCreate(); });
  frm_browse = new Tfrm_browse(main);
  frm_setting = new Tfrm_setting(main);
  Shown([] { frm_setting->FormCreate(); });
  frm_effect = new Tfrm_effect(main);
  ui::ConnectHandler(frm_effect, &Tfrm_effect::Changed, main, &Tfrm_main::RefreshPreview);
  // One action in both windows: its shortcut acts wherever the focus is.
  frm_effect->addActions(main->CaptionCommands());
  Shown([] { frm_effect->FormCreate(); });
  frm_layout = new Tfrm_layout(main);
  ui::ConnectHandler(frm_layout, &Tfrm_layout::Changed, main, &Tfrm_main::RefreshPreview);
  // The dialog's box and the tool bar's toggle are one setting.
  QObject::connect(frm_layout, &Tfrm_layout::VerticalChanged, main, &Tfrm_main::ShowVertical);
  QObject::connect(main, &Tfrm_main::VerticalToggled, frm_layout, &Tfrm_layout::SetVertical);
  frm_layout->addActions(main->CaptionCommands());
  Shown([] { frm_layout->FormCreate(); });
  main->show();
}

void DestroyForms() {
  StoreSettings();
  Destroy(frm_layout);
  Destroy(frm_effect);
  Destroy(frm_setting);
  Destroy(frm_browse);
  Destroy(frm_production);
  Destroy(frm_main);
}

// The border and shadow, then the layout are stored last, so that their
// sections follow the older ones in a new file.
void StoreSettings() {
  ExitStores stores;
  if (frm_setting) stores.Try([] { frm_setting->FormDestroy(); });
  if (frm_main) stores.Try([] { frm_main->FormDestroy(); });
  if (frm_effect) stores.Try([] { frm_effect->FormDestroy(); });
  if (frm_layout) stores.Try([] { frm_layout->FormDestroy(); });
  stores.ShowFailures();
}

}  // namespace glyphary::app
