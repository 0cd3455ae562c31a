#include "tools/vtservice/WebHost.h"

#include <httplib.h>

#include "tools/vtservice/HelpPages.h"

namespace vt::service {

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

namespace {

std::string Page(std::string_view title, std::string_view body) {
  std::string t = HtmlEscape(title);
  std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"windows-1252\"><title>";
  out += t;
  out +=
      " - Vintara</title>\n<style>body{font-family:Arial,sans-serif;background:#2250a3;color:#fff;"
      "margin:2em}a{color:#ffe680}table{border-collapse:collapse}td,th{border:1px solid #8aa0d0;"
      "padding:4px 10px;text-align:left}</style></head>\n<body>\n<h1>";
  out += t;
  out += "</h1>\n";
  out += body;
  out += "\n<p><a href=\"/index.php\">Vintara home</a></p>\n</body></html>\n";
  return out;
}

void Html(httplib::Response& res, const std::string& page, int status = 200) {
  res.status = status;
  res.set_content(page, "text/html; charset=windows-1252");
}

const char* kAccountBody =
    "<p>Vintara accounts come in two tiers.</p>\n"
    "<table><tr><th></th><th>Free account</th><th>Full account</th></tr>\n"
    "<tr><td>Consoles</td><td>NES, Atari 2600, ColecoVision</td><td>All eight consoles</td></tr>\n"
    "<tr><td>Copies</td><td>Copies set aside for free accounts</td><td>Every copy</td></tr>\n"
    "<tr><td>Price</td><td>Nothing</td><td>A small monthly subscription</td></tr></table>\n"
    "<p>Upgrade to a full account to play Super Nintendo, Genesis, Game Boy, Master System and "
    "Game Gear games, and to take copies marked Preferred in the browser.</p>\n"
    "<form method=\"get\" action=\"/accountinfo.php\"><input type=\"hidden\" name=\"upgrade\" "
    "value=\"1\">"
    "<button>Upgrade Now</button></form>";

}  // namespace

WebHost::WebHost(const Catalogue& catalogue, WebHostConfig config)
    : catalogue_(catalogue),
      config_(std::move(config)),
      server_(std::make_unique<httplib::Server>()) {}

WebHost::~WebHost() { Stop(); }

void WebHost::Routes() {
  auto& s = *server_;
  // The client reads the first 256 bytes of this body and looks for its own version text.
  s.Get("/version_check.php", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(config_.versionText, "text/plain");
  });
  s.Get("/index.php", [](const httplib::Request& req, httplib::Response& res) {
    if (req.get_param_value("vt") == "accountinfo")
      return Html(res, Page("Your account", kAccountBody));
    Html(res, Page("Vintara",
                   "<p>Play the classics of eight consoles on your PC.</p>\n<ul>"
                   "<li><a href=\"/signup.php\">Sign up</a></li>"
                   "<li><a href=\"/accountinfo.php\">Your account</a></li></ul>"));
  });
  s.Get("/",
        [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/index.php"); });
  s.Get("/accountinfo.php", [](const httplib::Request& req, httplib::Response& res) {
    if (req.has_param("upgrade"))
      return Html(res, Page("Upgrade",
                            "<p>Thank you. This sample service has no payments: ask the "
                            "administrator to make your account full.</p>"));
    Html(res, Page("Your account", kAccountBody));
  });
  s.Get("/signup.php", [](const httplib::Request&, httplib::Response& res) {
    Html(res,
         Page("Sign up",
              "<p>Create a free Vintara account to play NES, Atari 2600 and ColecoVision games "
              "at no cost.</p>\n<form method=\"get\" action=\"/signup.php\">"
              "<p>User name <input name=\"user\" maxlength=\"32\"></p>"
              "<p>Password <input name=\"password\" type=\"password\" maxlength=\"32\"></p>"
              "<button>Sign up</button></form>\n<p>To try the service right away, log in as "
              "<b>demo</b> with the password <b>demo</b>.</p>"));
  });
  s.Get("/gameinfo.php", [this](const httplib::Request& req, httplib::Response& res) {
    std::string key = req.get_param_value("gameinfo");
    const Game* g = catalogue_.FindGame(key);
    if (!g)
      return Html(
          res, Page("Game not found", "<p>No game has the key " + HtmlEscape(key) + ".</p>"), 404);
    std::string body = "<table><tr><th>Console</th><td>" + HtmlEscape(ConsoleName(g->alias)) +
                       "</td></tr>\n<tr><th>Game key</th><td>" + HtmlEscape(g->key) +
                       "</td></tr>\n<tr><th>Copies for free accounts</th><td>" +
                       std::to_string(g->freeCopies) +
                       "</td></tr>\n<tr><th>Copies for full accounts</th><td>" +
                       std::to_string(g->fullCopies) + "</td></tr></table>";
    Html(res, Page(g->title, body));
  });
  for (const HelpPage& help : HelpPages()) {
    s.Get("/" + std::string(help.file), [help](const httplib::Request&, httplib::Response& res) {
      Html(res, Page(help.title, help.body));
    });
  }
  s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.status == 404 && res.body.empty())
      Html(res, Page("Not found", "<p>There is no such page.</p>"), 404);
  });
}

bool WebHost::Start(std::string* error) {
  Routes();
  server_->set_read_timeout(10, 0);
  server_->set_write_timeout(10, 0);
  server_->set_payload_max_length(64 * 1024);
  int port = config_.port == 0
                 ? server_->bind_to_any_port(config_.bindAddress)
                 : (server_->bind_to_port(config_.bindAddress, config_.port) ? config_.port : -1);
  if (port <= 0) {
    if (error)
      *error =
          "cannot bind the web host to " + config_.bindAddress + ":" + std::to_string(config_.port);
    return false;
  }
  port_ = static_cast<std::uint16_t>(port);
  listenReturned_ = false;
  thread_ = std::thread([this] {
    server_->listen_after_bind();
    listenReturned_ = true;
  });
  return true;
}

void WebHost::Stop() {
  if (!thread_.joinable()) return;
  // stop() only acts on a running server: wait until the listener has started (or given up).
  while (!server_->is_running() && !listenReturned_) std::this_thread::yield();
  server_->stop();
  thread_.join();
}

}  // namespace vt::service
