// The process-start floor: a program that only starts and exits.
int main() { return 0; }
