// Where Qt may load plugins from. A program folder is downloaded data, and
// the launcher's executable lies in it: Qt must load no code from there.
#pragma once

namespace launcher::qt {

// Called before the application object is made: Qt then looks for plugins
// only in its own plugin folder and in the folders of QT_PLUGIN_PATH, never
// in the executable's folder, which it would otherwise search too (for
// platform, theme and input plugins while the application object is made,
// for image plugins when a picture is read). The qt.conf compiled into the
// executable keeps Qt from reading one beside it.
void KeepPluginsOutOfProgramFolder();

// Called once the application object exists: drops the executable's folder
// from the plugin folders where the first call could not (a system without
// /proc), before any picture is read.
void DropProgramFolderFromPluginPaths();

}  // namespace launcher::qt
