#pragma once
// Qt's own texts (standard buttons, the file dialogs) in Chinese like the program's own,
// whatever the user's locale.

// Installs Qt's Chinese translations (qtbase_zh_CN from Qt's translations folder) and
// makes Chinese the default locale of Qt's widgets. False when the translations are not
// installed; Qt's texts then stay English. Needs the application object; later calls do
// nothing more.
bool InstallChineseQtTranslations();
