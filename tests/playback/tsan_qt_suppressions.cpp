// Qt is not built with ThreadSanitizer, so the lock that hands an event posted by a playback thread to
// the GUI thread is invisible to it: the event's allocation in one thread and its deletion in the other
// would look like a race. What Qt Core allocates and frees itself is left out of the checks; every
// access of our own code stays checked.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions() { return "called_from_lib:libQt6Core.so.6\n"; }
#endif
