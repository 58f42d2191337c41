// Resource names and control ids of setup.exe.
#pragma once

#define IDC_STATUS 1001
#define IDC_PROGRESS 1003
