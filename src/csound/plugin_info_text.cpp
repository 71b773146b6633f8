// The description section that ends both plug-in templates: it names the template's file
// ({{PluginFile}}) and the button that rewrites it ({{PluginButton}}).
#include "csound/fixed_texts.h"

namespace csound {

const std::string_view kPluginInfoText = R"PLG(
;A-Info

 ACHTUNG!!

 Die Datei '{{PluginFile}}' muß umbenannt werden!
 Zu Testzwecken kann man sie zwar hier einbauen, doch damit die
 Änderungen nicht verloren gehen, sollte sie dann sofort in eine
 Datei '*.plg' umbenannt werden.

 Bei jedem Mausklick auf den Knopf {{PluginButton}} wird die Datei
 '{{PluginFile}}' neu geschrieben. Damit werden alle
 Änderungen überschrieben!

;E-Info
)PLG";

}  // namespace csound
