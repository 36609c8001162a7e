// The ids of the resources linked into velmorida.exe, shared by the resource
// script and the window that loads them.
#pragma once

#define VELMORIDA_ICON_ID 1
