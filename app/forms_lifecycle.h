// Creation and destruction of the long-lived windows, in the program's order.
#pragma once

namespace glyphary::app {

// frm_main, frm_production, frm_browse, frm_setting, frm_effect: each
// reference is set before the window's creation handler runs. Shows only the
// main window.
void CreateForms();
// The reverse order, so the export options are stored before the main
// window's keys; the border and shadow come after those. The stores'
// failures are shown together in one message; the rest still closes.
void DestroyForms();
// The stores of DestroyForms without closing anything, for the end of the
// desktop session, after which the program may be killed.
void StoreSettings();

}  // namespace glyphary::app
