#pragma once
// The end of every Windows-side GoogleTest program, once its main has read its arguments.

// Runs the tests with common controls and GDI+ started, then ends the process at once with the
// result: under Wine, unloading the sound driver at process exit after a test played a sound
// now and then crashes in the driver's own thread, long after every test has reported.
int runAllTestsAndEnd();
