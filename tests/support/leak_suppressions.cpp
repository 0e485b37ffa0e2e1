// The leak checker's built-in suppressions for programs that open windows:
// libdbus (which SDL uses to keep the screen saver off) keeps a buffer for
// the life of the process and frees it only in dbus_shutdown, which no
// library may call on behalf of a process that could still need the bus.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
