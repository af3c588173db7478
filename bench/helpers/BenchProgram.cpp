// The program the execution benchmark opens: it exits at once, or with
// "--wait" waits for a signal, to stand for the other processes of a session.
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--wait") == 0)
        pause();
    return 0;
}
