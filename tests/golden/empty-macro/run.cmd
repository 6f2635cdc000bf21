// A macro of comments only changes nothing.
(* not even
   this *)

   
