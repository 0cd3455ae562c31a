// What the login window and the notices need of the system shell: opening a page of the
// service's web host in the user's browser, and ending the program. The client implements it
// with ShellExecuteA and process exit; tests record instead.
#pragma once

#include <string>
#include <string_view>

namespace vt {

class AccountShell {
public:
  virtual ~AccountShell() = default;
  // The shell's default action on the address; the result is not examined.
  virtual void OpenPage(const std::string& address) = 0;
  // Ends the program with the code. The real one does not return; a test's may, and the caller
  // then returns as if the program had ended.
  virtual void EndProgram(int code) = 0;
};

// Pages of the service's web host that the account windows open.
inline constexpr std::string_view kSignupPage = "/signup.php";
inline constexpr std::string_view kAccountInfoPage = "/accountinfo.php";
inline constexpr std::string_view kFullAccountPage = "/index.php?vt=accountinfo";

// The address of a page on the web host ("host" or "host:port"), as the browser is given it.
std::string WebPageAddress(const std::string& webHost, std::string_view page);

// The action of every Upgrade Account button: opens "/accountinfo.php" and does nothing else.
void UpgradeToFullAccount(AccountShell& shell, const std::string& webHost);

}  // namespace vt
