IMPORT hull.dxf
