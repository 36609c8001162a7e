#!/usr/bin/env bash
# The page in a Firefox window of 800x600 on the test's X display, the window
# named after the page (Firefox adds its own name): a fresh profile in the
# test's own home, whose preferences open nothing but the page, show no bar
# over it, fetch nothing and build the accessibility tree whether or not a
# screen reader has asked for it yet. It execs Firefox: ending this ends the
# browser.
#   firefox_app.sh PAGE.html
set -euo pipefail
profile=$(mktemp -d -p "$HOME")
cat >"$profile/user.js" <<'EOF'
// No first run, welcome or what's-new page, no default-browser or
// data-reporting bar, no offer to translate the Romanian page.
user_pref("browser.aboutwelcome.enabled", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("startup.homepage_welcome_url", "");
user_pref("startup.homepage_welcome_url.additional", "");
user_pref("startup.homepage_override_url", "");
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("datareporting.policy.dataSubmissionPolicyBypassNotification", true);
user_pref("browser.disableResetPrompt", true);
user_pref("browser.translations.enable", false);
user_pref("browser.translations.automaticallyPopup", false);
user_pref("browser.sessionstore.resume_from_crash", false);
user_pref("toolkit.startup.max_resumed_crashes", -1);
// Nothing sent or fetched: no telemetry, updates, experiments, safe-browsing
// lists, remote settings or probes of the network.
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("datareporting.healthreport.uploadEnabled", false);
user_pref("toolkit.telemetry.enabled", false);
user_pref("toolkit.telemetry.unified", false);
user_pref("toolkit.telemetry.archive.enabled", false);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("app.update.disabledForTesting", true);
user_pref("app.update.auto", false);
user_pref("extensions.update.enabled", false);
user_pref("extensions.getAddons.cache.enabled", false);
user_pref("media.gmp-manager.updateEnabled", false);
user_pref("browser.search.update", false);
user_pref("app.normandy.enabled", false);
user_pref("app.shield.optoutstudies.enabled", false);
user_pref("messaging-system.rsexperimentloader.enabled", false);
user_pref("services.settings.server", "data:,");
user_pref("browser.safebrowsing.malware.enabled", false);
user_pref("browser.safebrowsing.phishing.enabled", false);
user_pref("browser.safebrowsing.downloads.enabled", false);
user_pref("browser.safebrowsing.update.enabled", false);
user_pref("network.connectivity-service.enabled", false);
user_pref("network.captive-portal-service.enabled", false);
user_pref("network.dns.disablePrefetch", true);
user_pref("network.prefetch-next", false);
user_pref("browser.region.network.url", "");
user_pref("browser.newtabpage.enabled", false);
user_pref("browser.ml.enable", false);
// -1: the accessibility service is on from the start, not only once a
// screen reader's request reaches Firefox.
user_pref("accessibility.force_disabled", -1);
EOF
exec /usr/bin/firefox-esr --no-remote --new-instance --profile "$profile" -width 800 -height 600 \
  "file://$(realpath "$1")"
