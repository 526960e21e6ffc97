#include <cstdio>

int main() {
  std::puts("vernier-cli");
  return 0;
}
