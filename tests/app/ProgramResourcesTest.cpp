// What Windows reads from VTBrowser.exe before it runs a line of it, read back from the built
// file: the version resource (file properties, the installed-programs list) and the manifest
// (run as the invoking user, not DPI aware).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ProgramResources, VersionResourceAndManifest) {
  std::string path = std::string("Z:") + VT_CLIENT_EXE;
  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeA(path.c_str(), &ignored));
  ASSERT_FALSE(info.empty()) << path;
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  // (The other values are the script's own table; the built file is shown to carry it.)
  char* name = nullptr;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\ProductName",
                             reinterpret_cast<void**>(&name), &size) &&
              name);
  EXPECT_STREQ(name, "VTBrowser");
  HMODULE file = LoadLibraryExA(path.c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC found = FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(file, found))),
                             SizeofResource(file, found));
  FreeLibrary(file);
  for (const char* part :
       {"level=\"asInvoker\"",
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">false"})
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

}  // namespace
