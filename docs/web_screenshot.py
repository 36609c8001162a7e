#!/usr/bin/python3
"""Takes the screenshots of the browser edition in headless Chromium after
entering 100 nF at 1 kHz: docs/screenshot-web.png of the window on a
desktop, and docs/screenshot-phone.png of a 360 x 740 phone's screen.

    docs/web_screenshot.py [build-web/velmorida.html]
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PAGE = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, '..', 'build-web',
                                                          'velmorida.html')
sys.argv[1:] = [PAGE]  # browser_test takes the page from there as it is imported
sys.path.insert(0, os.path.join(HERE, '..', 'tests', 'web'))
import browser_test  # noqa: E402

PHONE = (360, 740)


def entered(browser):
    browser.open()
    browser.enter('100', 'nF', '1', 'kHz')
    browser.element('txtR').click()  # the focus off the boxes, as a reader leaves it
    return browser


def main():
    browser = browser_test.Browser()
    try:
        entered(browser).element('frmVelmorida').screenshot(
            os.path.join(HERE, 'screenshot-web.png'))
        browser.emulate_screen(*PHONE)
        entered(browser).driver.save_screenshot(os.path.join(HERE, 'screenshot-phone.png'))
    finally:
        browser.quit()
    print('wrote docs/screenshot-web.png and docs/screenshot-phone.png')


if __name__ == '__main__':
    main()
