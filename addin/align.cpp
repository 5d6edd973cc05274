/*
 * align.cpp -- line up the dimensions and symbols selected on the current
 * drawing on one picked point. Vertical alignment gives every item the
 * point's y and keeps its x; horizontal alignment gives it the point's x
 * and keeps its y. z always stays as it was.
 *
 * A dimension is moved to its new position; a symbol instance is moved by
 * giving its data record a new attachment that differs from the old one
 * only in its location. Items of other types stay where they are.
 */
#include <math.h>

#include "addin.h"

#define ALIGN_VERTICAL 0

/* Outputs the host writes only on success. A vector that a faulty host
 * leaves unwritten keeps these NaNs, and an item is never moved by one:
 * it would put the item at a coordinate that no one picked. */
static void MarkUnwritten(ProVector v)
{
    v[0] = v[1] = v[2] = NAN;
}

static int Written(const ProVector v)
{
    return isfinite(v[0]) && isfinite(v[1]) && isfinite(v[2]);
}

/* The one coordinate an item takes over from the picked point. */
static void TakeCoordinate(ProVector target, int flag, const ProVector point)
{
    if (flag == ALIGN_VERTICAL)
        target[1] = point[1];
    else
        target[0] = point[0];
}

/* The point every item is aligned to; false when the pick gave none. The
 * button pressed is not looked at. */
static int PickPoint(ProVector point)
{
    ProMouseButton pressed;

    MarkUnwritten(point);
    return ProMousePickGet(PRO_LEFT_BUTTON, &pressed, point) == PRO_TK_NO_ERROR
           && Written(point);
}

static void AlignDimension(ProDrawing drawing, ProDimension *dimension, int flag,
                           const ProVector point)
{
    ProVector position;

    MarkUnwritten(position);
    if (ProDrawingDimensionPosGet(drawing, dimension, position) != PRO_TK_NO_ERROR
        || !Written(position))
        return;
    TakeCoordinate(position, flag, point);
    ProDrawingDimensionMove(drawing, dimension, position);
}

/* Gives the symbol a copy of its attachment with the new location. The
 * new attachment is ours until the instance has taken it. */
static void MoveSymbol(ProDtlsyminst *symbol, ProDtlsyminstdata data, ProDtlattach attachment,
                       int flag, const ProVector point)
{
    ProDtlattachType type = 0;
    ProView          view = NULL;
    ProSelection     reference = NULL;
    ProVector        location;
    ProDtlattach     moved = NULL;

    MarkUnwritten(location);
    if (ProDtlattachGet(attachment, &type, &view, location, &reference) != PRO_TK_NO_ERROR
        || !Written(location))
        return;
    TakeCoordinate(location, flag, point);
    if (ProDtlattachAlloc(type, view, location, reference, &moved) != PRO_TK_NO_ERROR
        || moved == NULL)
        return;
    ProDtlsyminstdataAttachmentSet(data, moved);
    ProDtlsyminstModify(symbol, data);
    ProDtlattachFree(moved);
}

/* The data record and the attachment read from it are copies the host
 * hands over: both are released here, whatever became of the move. */
static void AlignSymbol(ProDtlsyminst *symbol, int flag, const ProVector point)
{
    ProDtlsyminstdata data = NULL;
    ProDtlattach      attachment = NULL;

    if (ProDtlsyminstDataGet(symbol, PRODISPMODE_SYMBOLIC, &data) != PRO_TK_NO_ERROR
        || data == NULL)
        return;
    if (ProDtlsyminstdataAttachmentGet(data, &attachment) == PRO_TK_NO_ERROR
        && attachment != NULL) {
        MoveSymbol(symbol, data, attachment, flag, point);
        ProDtlattachFree(attachment);
    }
    ProDtlsyminstdataFree(data);
}

/* An item that cannot be read, or read in full, stays where it is; the
 * others are aligned all the same. */
static void AlignItem(ProDrawing drawing, ProSelection selection, int flag, const ProVector point)
{
    ProModelitem item = { PRO_TYPE_UNUSED, 0, NULL };

    if (ProSelectionModelitemGet(selection, &item) != PRO_TK_NO_ERROR)
        return;
    switch (item.type) {
    case PRO_DIMENSION:
    case PRO_REF_DIMENSION:
        AlignDimension(drawing, &item, flag, point);
        break;
    case PRO_SYMBOL_INSTANCE:
        AlignSymbol(&item, flag, point);
        break;
    default:
        break;
    }
}

/* flag 0 aligns vertically, any other value horizontally. Nothing is
 * reported: the prompt for the point is all the user sees. */
static void AlignDrawingItems(int flag)
{
    ProMdl        drawing = NULL;
    ProSelection *selections = NULL;
    ProVector     point;
    int           n = 0, i, sheet = 0;

    if (ProMdlCurrentGet(&drawing) != PRO_TK_NO_ERROR || drawing == NULL)
        return;
    if (ProSelbufferSelectionsGet(&selections) != PRO_TK_NO_ERROR || selections == NULL)
        return;

    if (ProArraySizeGet(selections, &n) == PRO_TK_NO_ERROR && n >= 1) {
        ProMessageDisplay(MSG_FILE, "QVX_MESSAGE_LeftMouseSelectPosition");
        /* Without a point there is no coordinate to give: nothing moves. */
        if (PickPoint(point))
            for (i = 0; i < n; i++)
                AlignItem(drawing, selections[i], flag, point);
    }
    ProSelectionarrayFree(selections);

    /* Sheets are numbered from 1: 0 is a number the host did not give. */
    if (ProDrawingCurrentSheetGet(drawing, &sheet) == PRO_TK_NO_ERROR && sheet >= 1)
        ProDwgSheetRegenerate(drawing, sheet);
}

int VerticalAlignAct(uiCmdCmdId, uiCmdValue *, void *)
{
    AlignDrawingItems(0);
    return 0;
}

int HorizonAlignAct(uiCmdCmdId, uiCmdValue *, void *)
{
    AlignDrawingItems(1);
    return 0;
}
