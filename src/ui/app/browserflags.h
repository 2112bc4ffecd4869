#pragma once

// Before the browser starts (before any page is made): bounds what one picture
// may decode to, keeping the flags the user gave the browser.
void boundBrowserPictures();
