#pragma once

// Qt's own texts (standard buttons, the editors' context menus, standard
// dialogs) in Polish, like the rest of the program. Loads the "qtbase_pl"
// catalogue from Qt's translations folder into the running application; call
// once after the application object exists. False when the catalogue is
// missing: Qt's texts then stay English and the program goes on.
bool InstallQtTranslations();
