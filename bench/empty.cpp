// Baseline of the benchmarks: a program that does nothing, to time process start-up
// under the same Wine.
int main() { return 0; }
