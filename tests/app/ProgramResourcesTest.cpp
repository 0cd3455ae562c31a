// What Windows reads from VTBrowser.exe before it runs a line of it: the version resource (file
// properties, the installed-programs list) and the manifest (run as the invoking user, not DPI
// aware, the supported Windows versions), read back from the built file.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string ClientPath() {
  std::string path = std::string("Z:") + VT_CLIENT_EXE;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string VersionText(const std::vector<char>& info, const char* name) {
  char* text = nullptr;
  UINT size = 0;
  const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&text), &size) || !text) return "<none>";
  return std::string(text);
}

TEST(ProgramResources, VersionResourceNamesTheProductAndItsVersion) {
  const std::string path = ClientPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << path;
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  const std::pair<const char*, const char*> texts[] = {
      {"ProductName", "VTBrowser"}, {"ProductVersion", "1.0"}, {"FileVersion", "1.0"},
      {"CompanyName", "Vintara"},   {"OriginalFilename", "VTBrowser.exe"}};
  for (const auto& [name, value] : texts) EXPECT_EQ(VersionText(info, name), value) << name;
  EXPECT_NE(VersionText(info, "FileDescription").find("Vintara"), std::string::npos);
}

TEST(ProgramResources, ManifestRunsAsTheUserUnawareOfDpi) {
  HMODULE file = LoadLibraryExA(ClientPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(file, nullptr);
  HRSRC found = FindResourceA(file, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(file, found)));
  const std::string manifest(bytes, SizeofResource(file, found));
  FreeLibrary(file);
  for (const char* part : {"level=\"asInvoker\"", "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">false",
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                           "processorArchitecture=\"amd64\""})
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

}  // namespace
