#include "script/WinMain.h"

int main(int argumentCount, char** arguments) { return HostMain(argumentCount, arguments); }
