#pragma once
// Where the program's DLLs come from. Windows looks for a DLL beside the program first, and the
// portable zips are unpacked into folders such as Downloads, where a stranger's winmm.dll may lie.
// The program therefore imports directly only DLLs that Windows itself protects: KnownDLLs, and
// those bound through the manifest (common controls 6, GDI+). The others (winmm, msvfw32) are
// delay-loaded, and the hook in dll_search.cpp loads them by full path from the system folder.

namespace win {

// Confines every later search for a DLL by name to the system folder where Windows can do so
// (Windows 8 on; Vista and 7 with update KB2533623); elsewhere takes at least the working folder
// out of the search. Called first at start-up. The delay-load hook lives in the same file, so
// linking this brings the hook into the program.
void restrictDllSearchToSystem();

} // namespace win
