// A library that loads fine but exports none of the plug-in's entry points.
#if defined(_WIN32)
#define VQ_TEST_EXPORT __declspec(dllexport)
#else
#define VQ_TEST_EXPORT __attribute__((visibility("default")))
#endif

extern "C" VQ_TEST_EXPORT int not_a_plugin() { return 0; }
