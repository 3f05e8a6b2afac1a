// The commands of the installation: /register, /unregister, /install and
// /uninstall. Each returns the exit code.
#pragma once

// These four show their result in a message box when no console or
// redirected stream reaches the user (started from Explorer or Windows'
// settings), else they print it.
int RegisterCommand();
int UnregisterCommand();
int InstallCommand();
int UninstallCommand();
