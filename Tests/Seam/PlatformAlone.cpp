// Linked with the whole platform library and nothing above it: a call into another folder would be
// an undefined symbol here.
int main() {
    return 0;
}
