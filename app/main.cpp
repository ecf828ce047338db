// The debugger's program entry.
#include "my_quillet_app.h"

int main(int argc, char** argv) {
    wxApp::SetInstance(new CMyQuilletApp);
    return wxEntry(argc, argv);
}
