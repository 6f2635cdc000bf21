DELETE Frames
