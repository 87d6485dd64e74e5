// A library without the class-object export: the loader must close it again.
extern "C" __attribute__((visibility("default"))) int ZelkPlainModuleAnswer() { return 42; }
