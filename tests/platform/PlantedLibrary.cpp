// A library with one function and nothing else, for the tests of where
// libraries are looked for.
extern "C" __declspec(dllexport) int KonfigNoveraPlanted() { return 1; }
