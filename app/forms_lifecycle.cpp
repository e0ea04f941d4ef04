#include "app/forms_lifecycle.h"

#include "app/application.h"
#include "ui/about_box.h"
#include "ui/error_display.h"
#include "ui/folder_browser.h"
#include "ui/forms.h"
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

template <typename T>
void Destroy(T*& form) {
  delete form;
  form = nullptr;
}

}  // namespace

void CreateForms() {
  frm_main = new Tfrm_main;
  Shown([] { frm_main->FormCreate(); });
  frm_production = new Tfrm_production(frm_main);
  Shown([] { frm_production->FormCreate(); });
  frm_browse = new Tfrm_browse(frm_main);
  frm_setting = new Tfrm_setting(frm_main);
  Shown([] { frm_setting->FormCreate(); });
  frm_main->show();
}

void DestroyForms() {
  if (frm_setting) Shown([] { frm_setting->FormDestroy(); });
  Destroy(frm_setting);
  Destroy(frm_browse);
  Destroy(frm_production);
  if (frm_main) Shown([] { frm_main->FormDestroy(); });
  Destroy(frm_main);
}

void StoreSettings() {
  if (frm_setting) Shown([] { frm_setting->FormDestroy(); });
  if (frm_main) Shown([] { frm_main->FormDestroy(); });
}

}  // namespace glyphary::app
