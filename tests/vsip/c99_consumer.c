/* A plain C99 caller of libqvsip: the header must compile cleanly under -pedantic, and a
 * block/view round trip must work from C. */
#include <stdio.h>
#include <string.h>

#include "qvsip.h"

static int check_control(void) {
    QvsipVersionInfo info;
    return QVSIP_GetProductVersion(&info) == 0 &&
           strcmp(info.componentName, "Component Name: Vantor-qvsip") == 0 &&
           QVSIP_GetOmpThreadNum() >= 0 && QVSIP_SetOmpThreadNum(0) == -1;
}

static int check_views(void) {
    vsip_scalar_f pairs[4] = {1.0f, 2.0f, 3.0f, 4.0f};
    vsip_cblock_f* block = vsip_cblockbind_f(pairs, NULL, 2, VSIP_MEM_NONE);
    vsip_cvview_f* view = vsip_cvbind_f(block, 0, 1, 2);
    vsip_cscalar_f x = vsip_cvget_f(view, 1);
    int ok = view != NULL && x.r == 3.0f && x.i == 4.0f;
    vsip_cvalldestroy_f(view);
    return ok;
}

static int check_strings(void) {
    char text[10];
    return sprintf_s(text, sizeof text, " %d", 42) == 3 && strcmp(text, " 42") == 0;
}

int main(void) {
    int ok = check_control() && check_views() && check_strings();
    puts(ok ? "ok" : "failed");
    return ok ? 0 : 1;
}
