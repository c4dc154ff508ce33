// A program file that only carries version information (with every flag the
// about box shows); the tests read it from disk.
int main()
{
    return 0;
}
