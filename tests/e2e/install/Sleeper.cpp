// A program that runs until it is stopped: stands for a game left running in the target folder.
#include <windows.h>

int main() {
  Sleep(INFINITE);
  return 3;
}
